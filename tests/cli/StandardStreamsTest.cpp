// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "CaseName.h"
#include "ChannelImage.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::string kOutputFailure = "vx40-tool: die Ausgabe konnte nicht geschrieben werden: ";

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

// Writes the files every case may read into dir: an image, its channel table and its plan.
void WriteInputs(const TempDir& dir) {
    WriteBytes(dir.Path("k.bin"), ImageBytes({{1, kWorkedChannel}}));
    WriteBytes(dir.Path("plan.txt"), "# Plan\n798300\n");
    ASSERT_EQ(
        RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("x.bin"), "--vx4", dir.Path("k.vx4")})
            .exitCode,
        0);
}

Arguments InFolder(const TempDir& dir, const Arguments& arguments) {
    Arguments placed;
    for (const std::string& argument : arguments) {
        placed.push_back(argument.starts_with("DIR/") ? dir.Path(argument.substr(4)) : argument);
    }
    return placed;
}

struct StdinCase {
    const char* name;
    Arguments arguments;  // "-" reads the file input, "DIR/" stands for the test's folder
    std::string input;
};
void PrintTo(const StdinCase& row, std::ostream* out) {
    *out << row.name;
}

class StandardInputTest : public ::testing::TestWithParam<StdinCase> {};

// "-" reads standard input, redirected from a file or through a pipe, exactly as the file itself.
TEST_P(StandardInputTest, ReadsAsTheFileItself) {
    TempDir dir;
    WriteInputs(dir);
    Arguments byName = InFolder(dir, GetParam().arguments);
    for (std::size_t i = 0; i < byName.size(); ++i) {
        if (byName[i] == "-" && (i == 0 || byName[i - 1] != "-o")) {
            byName[i] = dir.Path(GetParam().input);
        }
    }
    const ToolOutput expected = RunTool(byName);
    ASSERT_NE(expected.out, "");

    const Descriptor file(::open(dir.Path(GetParam().input).c_str(), O_RDONLY | O_CLOEXEC));
    const ToolOutput redirected = RunTool(InFolder(dir, GetParam().arguments), {}, file.Get());
    EXPECT_EQ(redirected.out, expected.out);
    // The checksums of an image read name standard input instead of the file.
    std::string expectedErr = expected.err;
    const std::string quotedInput = "\"" + dir.Path(GetParam().input) + "\"";
    if (const std::size_t at = expectedErr.find(quotedInput); at != std::string::npos) {
        expectedErr.replace(at, quotedInput.size(), "Standardeingabe");
    }
    EXPECT_EQ(redirected.err, expectedErr);
    EXPECT_EQ(redirected.exitCode, expected.exitCode);

    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    const Descriptor readEnd(fds[0]);
    {
        const Descriptor writeEnd(fds[1]);
        const std::string bytes = ReadBytes(dir.Path(GetParam().input));
        ASSERT_EQ(::write(writeEnd.Get(), bytes.data(), bytes.size()),
                  static_cast<ssize_t>(bytes.size()));
    }
    const ToolOutput piped = RunTool(InFolder(dir, GetParam().arguments), {}, readEnd.Get());
    EXPECT_EQ(piped.out, expected.out);
    EXPECT_EQ(piped.exitCode, expected.exitCode);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, StandardInputTest,
    ::testing::Values(
        StdinCase{"Decode", {"decode", "--csv", "-"}, "k.bin"},
        StdinCase{"Inspect", {"inspect", "-"}, "k.bin"},
        StdinCase{"DiffSecond", {"diff", "--csv", "DIR/k.vx4", "-"}, "k.bin"},
        StdinCase{"DiffFirst", {"diff", "--csv", "-", "DIR/x.bin"}, "k.bin"},
        StdinCase{"Show", {"show", "-"}, "k.vx4"},
        StdinCase{"EncodeToStandardOutput", {"encode", "-", "-o", "-"}, "k.vx4"},
        StdinCase{"PlanToStandardOutput", {"plan", "-", "-o", "-", "--format", "ihex"}, "plan.txt"},
        StdinCase{"RasterPlan", {"raster", "--csv", "--plan", "-"}, "plan.txt"}),
    CaseName());

// "-o -" puts on standard output the very bytes that "-o FILE" writes, and a channel table only
// after the image.
TEST(StandardOutput, TakesTheImageThatTheFileWouldHold) {
    TempDir dir;
    WriteInputs(dir);
    const ToolOutput planned =
        RunTool({"plan", dir.Path("plan.txt"), "-o", "-", "--vx4", dir.Path("o.vx4")});
    EXPECT_EQ(planned.exitCode, 0) << planned.err;
    EXPECT_EQ(planned.out, ReadBytes(dir.Path("x.bin")));
    EXPECT_EQ(ReadBytes(dir.Path("o.vx4")), ReadBytes(dir.Path("k.vx4")));

    const Descriptor full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    const ToolOutput failed = RunToolWithOutput(
        {"plan", dir.Path("plan.txt"), "-o", "-", "--vx4", dir.Path("n.vx4")}, full.Get());
    EXPECT_TRUE(failed.err.starts_with(kOutputFailure)) << failed.err;
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("n.vx4")));
}

struct RefusalCase {
    const char* name;
    Arguments arguments;
    std::string input;    // the file on standard input; "closed": a closed standard input
    std::string output;   // the file standard output is appended to; empty: the test's pipe
    std::string message;  // the start of the message, after "vx40-tool: "
};
void PrintTo(const RefusalCase& row, std::ostream* out) {
    *out << row.name;
}

class StandardStreamRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(StandardStreamRefusalTest, IsAUsageErrorThatChangesNothing) {
    TempDir dir;
    WriteInputs(dir);
    const std::vector<std::string> before = dir.Names();
    const std::string tableBefore = ReadBytes(dir.Path("k.vx4"));
    const std::string planBefore = ReadBytes(dir.Path("plan.txt"));
    // The tool keeps a closed standard input taken by a write-only /dev/null; this is that state.
    const Descriptor input(GetParam().input == "closed"
                               ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
                               : ::open(dir.Path(GetParam().input).c_str(), O_RDONLY | O_CLOEXEC));
    const Arguments arguments = InFolder(dir, GetParam().arguments);
    ToolOutput output;
    if (GetParam().output.empty()) {
        output = RunTool(arguments, {}, input.Get());
    } else {
        const Descriptor appended(
            ::open(dir.Path(GetParam().output).c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
        output = RunToolWithOutput(arguments, appended.Get(), false, input.Get());
    }
    EXPECT_TRUE(output.err.starts_with("vx40-tool: " + GetParam().message)) << output.err;
    EXPECT_NE(output.err.find("Aufruf: vx40-tool " + GetParam().arguments.front()),
              std::string::npos);
    EXPECT_EQ(output.out, "");
    EXPECT_EQ(output.exitCode, 2);
    EXPECT_EQ(dir.Names(), before);
    EXPECT_EQ(ReadBytes(dir.Path("k.vx4")), tableBefore);
    EXPECT_EQ(ReadBytes(dir.Path("plan.txt")), planBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, StandardStreamRefusalTest,
    ::testing::Values(
        RefusalCase{
            "StandardInputTwice",
            {"diff", "-", "-"},
            "k.bin",
            "",
            "A und B lesen beide die Standardeingabe; sie kann nur einmal gelesen werden\n"},
        RefusalCase{"ClosedStandardInput",
                    {"decode", "-"},
                    "closed",
                    "",
                    "Die Datei \"-\" kann nicht gelesen werden: "},
        RefusalCase{"ClosedStandardInputIsNoEmptyPlan",
                    {"plan", "-", "-o", "DIR/n.bin"},
                    "closed",
                    "",
                    "Die Datei \"-\" kann nicht gelesen werden: "},
        RefusalCase{"PlanOverTheFileOnStandardInput",
                    {"plan", "-", "-o", "DIR/plan.txt"},
                    "plan.txt",
                    "",
                    "PLAN und -o nennen dieselbe Datei\n"},
        RefusalCase{"EncodeOverTheFileOnStandardInput",
                    {"encode", "-", "-o", "DIR/k.vx4"},
                    "k.vx4",
                    "",
                    "IN.vx4 und -o nennen dieselbe Datei\n"},
        RefusalCase{"TableOverTheFileOnStandardOutput",
                    {"plan", "DIR/plan.txt", "-o", "-", "--vx4", "DIR/k.vx4"},
                    "plan.txt",
                    "k.vx4",
                    "-o und --vx4 nennen dieselbe Datei\n"}),
    CaseName());

struct OutputCase {
    const char* name;
    Arguments arguments;  // "DIR/" stands for the test's folder
};
void PrintTo(const OutputCase& row, std::ostream* out) {
    *out << row.name;
}

class OutputFailureTest : public ::testing::TestWithParam<OutputCase> {};

// Output that never arrived is no success: a full disk, a closed standard output, a reader gone
// while the pipe signal is ignored. With the signal at its default the tool ends by it, as any
// program in a pipe does.
TEST_P(OutputFailureTest, IsReportedWithExitCodeTwo) {
    TempDir dir;
    WriteInputs(dir);
    const Arguments arguments = InFolder(dir, GetParam().arguments);
    const Descriptor full(::open("/dev/full", O_WRONLY | O_CLOEXEC));
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ::close(fds[0]);
    const Descriptor readerGone(fds[1]);

    const std::vector<std::pair<const char*, ToolOutput>> runs = {
        {"full", RunToolWithOutput(arguments, full.Get())},
        {"closed", RunToolWithOutput(arguments, -1)},
        {"reader gone", RunToolWithOutput(arguments, readerGone.Get(), true)}};
    for (const auto& [target, output] : runs) {
        EXPECT_NE(output.err.find(kOutputFailure), std::string::npos) << target << output.err;
        EXPECT_TRUE(output.err.ends_with("\n")) << target;
        EXPECT_EQ(output.exitCode, 2) << target;
    }
    // Windows has no pipe signal: the failed write is reported as with the signal ignored.
    EXPECT_EQ(RunToolWithOutput(arguments, readerGone.Get(), false).exitCode,
              WindowsBuild() ? 2 : -1);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, OutputFailureTest,
    ::testing::Values(OutputCase{"Calc", {"calc", "798300"}},
                      OutputCase{"CalcWithARefusal", {"calc", "798300", "798400"}},
                      OutputCase{"Decode", {"decode", "--csv", "DIR/k.bin"}},
                      OutputCase{"Show", {"show", "DIR/k.vx4"}},
                      OutputCase{"Raster", {"raster", "--plan", "DIR/plan.txt"}},
                      OutputCase{"Inspect", {"inspect", "DIR/k.bin"}},
                      OutputCase{"Diff", {"diff", "--csv", "DIR/k.vx4", "DIR/k.bin"}},
                      OutputCase{"PlanToStandardOutput", {"plan", "DIR/plan.txt", "-o", "-"}},
                      OutputCase{"Help", {"calc", "--help"}}),
    CaseName());

}  // namespace
}  // namespace vx40::cli_test
