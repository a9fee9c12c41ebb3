// SPDX-License-Identifier: GPL-3.0-or-later
// What Windows adds, for its build under Wine: the read-only attribute, a file that another
// program holds open, a UTF-8 name, and one file through another spelling of its path.
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "ChecksumLine.h"
#include "ToolProcess.h"
#include "tests/core/TempDir.h"

extern char** environ;

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const char* const kPlan = "798300\n";

// The helper that holds a file open under Wine, sharing nothing, until its input is closed.
class HeldOpen {
  public:
    explicit HeldOpen(const std::string& path) {
        int in[2];
        int out[2];
        if (::pipe(in) != 0 || ::pipe(out) != 0) {
            return;
        }
        std::vector<std::string> words = EmulatorCommand();
        words.emplace_back(std::getenv("VX40_HOLD_OPEN_EXE"));
        words.push_back(path);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        ::posix_spawn(&pid_, argv.front(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        char line[8] = {};
        open_ = ::read(out[0], line, sizeof line) > 0;  // "offen" once the file is held
        ::close(out[0]);
    }
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
    ~HeldOpen() {
        ::close(input_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    bool Open() const { return open_; }

  private:
    pid_t pid_ = 0;
    int input_ = -1;
    bool open_ = false;
};

// Each call either writes the image or is refused with a message naming the file, the file as
// it was and nothing left beside it.
TEST(WindowsCases, ReplaceRefusalsAndNames) {
    if (!WindowsBuild()) {
        GTEST_SKIP() << "Windows only";
    }
    const struct {
        const char* name;
        const char* output;  // relative to the folder, as the tool is given it
        bool readOnly;
        bool heldOpen;
        std::string err;  // "" for success; FILE stands for the output's path
    } cases[] = {
        {"UmlautName", "kanäle.bin", false, false, ""},
        {"ReadOnlyAttribute", "kanäle.bin", true, false,
         "vx40-tool: Die Datei \"FILE\" konnte nicht geschrieben werden: die Datei ist "
         "schreibgeschützt.\n"},
        {"HeldOpen", "kanäle.bin", false, true,
         "vx40-tool: Die Datei \"FILE\" konnte nicht geschrieben werden: sie ist in einem anderen "
         "Programm geöffnet, das sie nicht freigibt.\n"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteBytes(dir.Path("plan.txt"), kPlan);
        const std::string output = dir.Path(c.output);
        WriteBytes(output, "alt");
        if (c.readOnly) {
            ::chmod(output.c_str(), 0444);  // Wine shows a file without write bits read-only
        }
        ToolOutput result;
        {
            std::optional<HeldOpen> held;
            if (c.heldOpen) {
                held.emplace(output);
                ASSERT_TRUE(held->Open()) << c.name;
            }
            result = RunTool({"plan", dir.Path("plan.txt"), "-o", output});
        }
        std::string err = c.err.empty() ? ChecksumLine(output, kWorkedChecksums) : c.err;
        if (const auto at = err.find("FILE"); at != std::string::npos) {
            err.replace(at, 4, output);
        }
        EXPECT_EQ(result.err, err) << c.name;
        EXPECT_EQ(result.exitCode, c.err.empty() ? 0 : 2) << c.name;
        EXPECT_EQ(ReadBytes(output).size(), c.err.empty() ? 128u : 3u) << c.name;
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{c.output, "plan.txt"})) << c.name;
    }
}

// One file through another spelling of its path is the same file: refused as output of itself.
TEST(WindowsCases, AnotherSpellingOfAPathIsTheSameFile) {
    if (!WindowsBuild()) {
        GTEST_SKIP() << "Windows only";
    }
    TempDir dir;
    WriteBytes(dir.Path("plan.txt"), kPlan);
    ASSERT_EQ(RunTool({"plan", dir.Path("plan.txt"), "-o", dir.Path("kanäle.bin"), "--vx4",
                       dir.Path("kanäle.vx4")})
                  .exitCode,
              0);
    std::string backslashed = dir.Path("kanäle.vx4");
    for (char& c : backslashed) {
        c = c == '/' ? '\\' : c;
    }
    const std::string before = ReadBytes(dir.Path("kanäle.vx4"));
    for (const std::string& spelling : {dir.Path("KANÄLE.VX4"), backslashed,
                                        dir.Path(".\\kanäle.vx4"), dir.Path("./KANäle.vx4")}) {
        const ToolOutput result = RunTool({"encode", dir.Path("kanäle.vx4"), "-o", spelling});
        EXPECT_EQ(result.exitCode, 2) << spelling;
        EXPECT_TRUE(result.err.starts_with("vx40-tool: IN.vx4 und -o nennen dieselbe Datei\n"))
            << spelling << result.err;
        EXPECT_EQ(ReadBytes(dir.Path("kanäle.vx4")), before) << spelling;
    }
}

}  // namespace
}  // namespace vx40::cli_test
