// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "CaseName.h"
#include "CsvText.h"
#include "ToolProcess.h"
#include "files/ImageFormats.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::string kPlan = "798300\n145125\n";
const std::string kTable = "[Wert1]\nD7=05\nD0=04\n[Wert16]\nD1=01\n";

// Writes the inputs that every case may name: "plan.txt" and "table.vx4".
void WriteInputs(const TempDir& dir) {
    WriteBytes(dir.Path("plan.txt"), kPlan);
    WriteBytes(dir.Path("table.vx4"), kTable);
}

Arguments WriteCommand(const TempDir& dir, bool plan, const std::string& output) {
    return plan ? Arguments{"plan", dir.Path("plan.txt"), "-o", dir.Path(output)}
                : Arguments{"encode", dir.Path("table.vx4"), "-o", dir.Path(output)};
}

struct EndingCase {
    const char* name;
    bool plan;  // otherwise encode
    std::string output;
    std::string format;    // given with --format; empty: none
    std::string expected;  // the --format whose bytes the file must hold
};
void PrintTo(const EndingCase& row, std::ostream* out) {
    *out << row.name;
}

class OutputEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(OutputEndingTest, ChoosesTheFormatUnlessOneIsGiven) {
    TempDir dir;
    WriteInputs(dir);
    Arguments arguments = WriteCommand(dir, GetParam().plan, GetParam().output);
    if (!GetParam().format.empty()) {
        arguments.insert(arguments.end(), {"--format", GetParam().format});
    }
    const ToolOutput written = RunTool(arguments);
    ASSERT_EQ(written.exitCode, 0) << written.err;
    Arguments reference = WriteCommand(dir, GetParam().plan, "reference");
    reference.insert(reference.end(), {"--format", GetParam().expected});
    ASSERT_EQ(RunTool(reference).exitCode, 0);
    EXPECT_EQ(ReadBytes(dir.Path(GetParam().output)), ReadBytes(dir.Path("reference")));
}

INSTANTIATE_TEST_SUITE_P(
    Outputs, OutputEndingTest,
    ::testing::Values(EndingCase{"PlanHex", true, "k.hex", "", "ihex"},
                      EndingCase{"PlanIhxUpperCase", true, "K.IHX", "", "ihex"},
                      EndingCase{"EncodeIhex", false, "k.iHex", "", "ihex"},
                      EndingCase{"PlanSrec", true, "k.srec", "", "srec"},
                      EndingCase{"EncodeS19", false, "k.S19", "", "srec"},
                      EndingCase{"EncodeS28", false, "k.s28", "", "srec"},
                      EndingCase{"PlanS37", true, "k.s37", "", "srec"},
                      EndingCase{"EncodeMot", false, "k.MOT", "", "srec"},
                      EndingCase{"PlanBin", true, "k.bin", "", "bin"},
                      EndingCase{"EncodeOtherEnding", false, "k.hex.alt", "", "bin"},
                      EndingCase{"PlanNoDot", true, "hex", "", "bin"},
                      EndingCase{"GivenBinWinsOverHex", true, "k.hex", "bin", "bin"},
                      EndingCase{"GivenSrecWinsOverBin", false, "k.bin", "srec", "srec"},
                      EndingCase{"GivenIhexWinsOverSrec", true, "k.s19", "ihex", "ihex"}),
    CaseName());

std::vector<std::string> EndingsInTheHelp(const std::string& command) {
    const ToolOutput help = RunTool({command, "--help"});
    std::vector<std::string> endings;
    const std::string marker = "nach der Endung von OUT:";
    for (const std::string& line : Lines(help.out)) {
        if (line.find(marker) == std::string::npos) {
            continue;
        }
        const std::string list = line.substr(line.find(marker));
        const std::regex ending(R"(\.([a-z0-9]+))");
        for (auto it = std::sregex_iterator(list.begin(), list.end(), ending);
             it != std::sregex_iterator(); ++it) {
            endings.push_back((*it)[1]);
        }
    }
    return endings;
}

// The help lists the endings of the table of formats; the manual page and the completion of
// image names and of --format follow it.
TEST(OutputEnding, TheManualPageAndTheCompletionNameEveryEndingOfTheHelp) {
    std::vector<std::string> endings;
    std::string names;
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        for (const std::string_view ending : entry.endings) {
            endings.emplace_back(ending.substr(1));
        }
        names += (names.empty() ? "" : " ") + std::string(entry.name);
    }
    EXPECT_EQ(endings.size(), 8u);
    EXPECT_EQ(EndingsInTheHelp("plan"), endings);
    EXPECT_EQ(EndingsInTheHelp("encode"), endings);
    const std::string manual = ReadBytes(VX40_SOURCE_DIR "/packaging/vx40-tool.1.in");
    const std::string completion =
        ReadBytes(VX40_SOURCE_DIR "/packaging/vx40-tool.bash-completion");
    std::smatch images;
    ASSERT_TRUE(std::regex_search(completion, images, std::regex(R"(images="([^"]*)\")")));
    const std::string completed = "|" + images[1].str() + "|";
    for (const std::string& ending : endings) {
        EXPECT_NE(manual.find("." + ending), std::string::npos) << ending;
        EXPECT_NE(completed.find("|" + ending + "|"), std::string::npos) << ending;
    }
    std::smatch formats;
    ASSERT_TRUE(std::regex_search(completion, formats, std::regex(R"(--format\).*-W "([^"]*)\")")));
    EXPECT_EQ(formats[1].str(), names);
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        EXPECT_NE(manual.find(std::string(entry.name)), std::string::npos) << entry.name;
    }
}

// Texts from files and arguments reach the terminal escaped: controls and bytes that are no
// UTF-8 as \x1b, format characters as \u202e. "{dir}" in arguments and texts is the test folder.
struct EscapeCase {
    const char* name;
    std::map<std::string, std::string> files;
    Arguments arguments;
    std::string out;
    std::string err;
    int exitCode;
};
void PrintTo(const EscapeCase& row, std::ostream* out) {
    *out << row.name;
}

std::string InDir(std::string text, const std::string& dir) {
    for (auto at = text.find("{dir}"); at != std::string::npos; at = text.find("{dir}")) {
        text.replace(at, 5, dir);
    }
    return text;
}

class EscapedTextTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(EscapedTextTest, NeverDrivesTheTerminal) {
    if (WindowsBuild() && std::string_view(GetParam().name) == "FileNameOfADiffSide") {
        GTEST_SKIP() << "POSIX only: a Windows file name holds no control character";
    }
    TempDir dir;
    for (const auto& [name, content] : GetParam().files) {
        WriteBytes(dir.Path(name), content);
    }
    Arguments arguments;
    for (const std::string& argument : GetParam().arguments) {
        arguments.push_back(InDir(argument, dir.Path()));
    }
    const ToolOutput output = RunTool(arguments);
    EXPECT_EQ(output.out, GetParam().out);
    EXPECT_EQ(output.err, InDir(GetParam().err, dir.Path()));
    EXPECT_EQ(output.exitCode, GetParam().exitCode);
}

const std::string kShownCell = "\\x1b[2J\\xff7\\u202e";
const std::string kEscapingTable =
    "[Wert1]\nFrequenz=\x1b[2J\xff"
    "7\u202e\n[Wert2]\nD0=\x1b[5m\n";

std::string EmptyCsvRows(int first) {
    std::string rows;
    for (int channel = first; channel <= 16; ++channel) {
        rows += std::to_string(channel) + ",,,,,,,,,,,,\n";
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EscapedTextTest,
    ::testing::Values(
        EscapeCase{"ShowCsvCells",
                   {{"t.vx4", kEscapingTable}},
                   {"show", "--csv", "{dir}/t.vx4"},
                   "Kanal,Frequenz,n0,n1,n2,D7,D6,D5,D4,D3,D2,D1,D0\n1," + kShownCell +
                       ",,,,,,,,,,,\n2,,,,,,,,,,,,\\x1b[5m\n" + EmptyCsvRows(3),
                   "",
                   0},
        EscapeCase{"EncodeNamesTheCell",
                   {{"t.vx4", kEscapingTable}},
                   {"encode", "{dir}/t.vx4", "-o", "{dir}/o.bin"},
                   "",
                   "Kanal 2, D0 enthält \"\\x1b[5m\": kein gültiges Datennibble (00 bis 0F). Es "
                   "wurde nichts geschrieben.\n",
                   1},
        EscapeCase{"FileNameOfAnInput",
                   {},
                   {"inspect", "{dir}/a\x1b]0;x\a\u202e.bin"},
                   "",
                   "vx40-tool: Die Datei \"{dir}/a\\x1b]0;x\\x07\\u202e.bin\" kann nicht gelesen "
                   "werden: sie existiert nicht.\nAufruf: vx40-tool inspect [--crystal HZ] [--csv] "
                   "[--offset BYTES [--fill BYTE]] IN\n",
                   2},
        EscapeCase{"FileNameOfAnOutput",
                   {{"plan.txt", kPlan}},
                   {"plan", "{dir}/plan.txt", "-o", "{dir}/\xef\xbb\xbf\x1b/k.bin"},
                   "",
                   "vx40-tool: Die Datei \"{dir}/\\ufeff\\x1b/k.bin\" konnte nicht geschrieben "
                   "werden: der Ordner existiert nicht.\n",
                   2},
        EscapeCase{"FileNameOfADiffSide",
                   {{"a\x1b.bin", "kurz"}},
                   {"diff", "{dir}/a\x1b.bin", "{dir}/a\x1b.bin"},
                   "",
                   "vx40-tool: \"{dir}/a\\x1b.bin\": Binärfile ist kein Brenstadel-File\n",
                   2},
        EscapeCase{"FrequencyArgument",
                   {},
                   {"calc", "\x1b[2J"},
                   "",
                   "vx40-tool: \"\\x1b[2J\" ist keine Frequenz in kHz\nAufruf: vx40-tool calc "
                   "[OPTIONEN] [--csv] FREQ_KHZ...\n",
                   2},
        EscapeCase{"ValueOfAnOption",
                   {{"plan.txt", kPlan}},
                   {"plan", "{dir}/plan.txt", "-o", "{dir}/k.bin", "--format", "x\u202e"},
                   "",
                   "vx40-tool: --format: \"x\\u202e\" ist kein Format: bin, ihex oder srec\n"
                   "Aufruf: vx40-tool plan [OPTIONEN] PLAN -o OUT.bin [--vx4 OUT.vx4] [--format "
                   "FORMAT]\n",
                   2}),
    CaseName());

TEST(EscapedText, AlignedShowCountsAnEscapeByItsShownCharacters) {
    TempDir dir;
    WriteBytes(dir.Path("t.vx4"), kEscapingTable);
    const std::vector<std::string> lines = Lines(RunTool({"show", dir.Path("t.vx4")}).out);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[0], "Kanal           Frequenz n0 n1 n2 D7 D6 D5 D4 D3 D2 D1      D0");
    EXPECT_EQ(lines[1], "    1 " + kShownCell);
    EXPECT_EQ(lines[2], "    2" + std::string(50, ' ') + "\\x1b[5m");
}

// A file without any of the sections Wert1 to Wert16 is no channel-set file, whatever it holds.
struct NoChannelSetCase {
    const char* name;
    std::string content;
};
void PrintTo(const NoChannelSetCase& row, std::ostream* out) {
    *out << row.name;
}

class NoChannelSetTest : public ::testing::TestWithParam<NoChannelSetCase> {};

TEST_P(NoChannelSetTest, IsRefusedByEveryCommandThatReadsATable) {
    TempDir dir;
    const std::string input = dir.Path("in.vx4");
    WriteBytes(input, GetParam().content);
    WriteBytes(dir.Path("old.bin"), "old image");
    const struct {
        Arguments arguments;
        std::string err;
        int exitCode;
    } calls[] = {
        {{"encode", input, "-o", dir.Path("old.bin")}, "keine Kanaldatei: " + input + "\n", 1},
        {{"encode", input, "-o", dir.Path("new.hex")}, "keine Kanaldatei: " + input + "\n", 1},
        {{"show", input}, "keine Kanaldatei: " + input + "\n", 1},
        {{"show", "--csv", input}, "keine Kanaldatei: " + input + "\n", 1},
        // Exit code 1 of diff says that the two differ.
        {{"diff", input, dir.Path("old.bin")}, "vx40-tool: keine Kanaldatei: " + input + "\n", 2},
    };
    for (const auto& call : calls) {
        const ToolOutput output = RunTool(call.arguments);
        EXPECT_EQ(output.out, "") << call.arguments.front();
        EXPECT_EQ(output.err, call.err);
        EXPECT_EQ(output.exitCode, call.exitCode);
    }
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"in.vx4", "old.bin"}));
    EXPECT_EQ(ReadBytes(dir.Path("old.bin")), "old image");
}

std::string Utf16(const std::string& ascii) {
    std::string text = "\xff\xfe";
    for (const char c : ascii) {
        text += c;
        text += '\0';
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, NoChannelSetTest,
    ::testing::Values(NoChannelSetCase{"Empty", ""}, NoChannelSetCase{"Plan", kPlan},
                      NoChannelSetCase{"Utf16Table", Utf16(kTable)},
                      NoChannelSetCase{"Image", std::string(128, '\x0f')},
                      NoChannelSetCase{"OtherSections", "[Wert17]\nD0=04\n[Kanal1]\nD0=04\n"}),
    CaseName());

}  // namespace
}  // namespace vx40::cli_test
