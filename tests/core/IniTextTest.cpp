// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/IniText.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "files/PrivateProfile.h"
#include "text/IniLines.h"

namespace vx40 {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;
using namespace std::string_literals;

// One line record as "kind|section|key|value|end|next".
std::vector<std::string> Records(std::string_view text) {
    std::vector<std::string> records;
    IniLines lines(text);
    IniLine line;
    while (lines.Next(line)) {
        const char* kind = line.kind == IniLineKind::Section ? "S"
                           : line.kind == IniLineKind::Key   ? "K"
                                                             : "-";
        records.push_back(std::string(kind) + "|" + std::string(line.section) + "|" +
                          std::string(line.key) + "|" + std::string(line.value) + "|" +
                          std::to_string(line.end) + "|" + std::to_string(line.next));
    }
    return records;
}

TEST(IniLines, SplitsTheTextIntoLineRecords) {
    const struct {
        std::string text;
        std::vector<std::string> records;
    } cases[] = {
        {"", {}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF[S]\r\nK = v \r\n", {"S|S|||6|8", "K|S|K|v|14|16"}},
        {"\xEF\xBB[S]\n", {"-||||5|6"}},
        {" [ S ] x\rk=\n\n", {"S|S|||8|9", "K|S|k||11|12", "-|S|||12|13"}},
        {"[S\n;K=1\n=2\nK", {"-||||2|3", "-||||7|8", "K|||2|10|11", "-||||12|12"}},
        {"[S]\r\r\nK=a\0b"s, {"S|S|||3|4", "-|S|||4|6", "K|S|K|a\0b"s + "|11|11"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Records(c.text), c.records) << testing::PrintToString(c.text);
    }
}

// A write on the file gives the reason when it leaves the file as it was.
TEST(ProfileWriteStatus, TellsWhyTheFileWasNotWritten) {
    TempDir dir;
    WriteBytes(dir.Path("locked.vx4"), "[S]\r\nK=1\r\n");
    ::chmod(dir.Path("locked.vx4").c_str(), 0444);
    WriteBytes(dir.Path("set.vx4"), "[S]\r\nK=1\r\n");
    const struct {
        std::string path;
        std::string section;
        std::string value;
        FailureKind kind;
        int error;
    } cases[] = {
        {dir.Path("locked.vx4"), "S", "2", FailureKind::TargetReadOnly, 0},
        {dir.Path(), "S", "2", FailureKind::ReadFailed, EISDIR},
        {"/dev/zero", "S", "2", FailureKind::ReadFailed, EINVAL},
        {dir.Path("gone/set.vx4"), "S", "2", FailureKind::FolderMissing, 0},
        {dir.Path("set.vx4"), "S", "0\n1", FailureKind::ValueNotWritable, 0},
        {dir.Path("set.vx4"), "S]", "2", FailureKind::NameNotWritable, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " " + c.section + " " + c.value);
        const Status written = WritePrivateProfileString(c.section, "K", c.value, c.path);
        ASSERT_FALSE(written.Ok());
        EXPECT_EQ(written.Error().kind, c.kind);
        if (c.error != 0) {
            EXPECT_EQ(written.Error().error, c.error);
        }
    }
    EXPECT_EQ(ReadBytes(dir.Path("set.vx4")), "[S]\r\nK=1\r\n");
}

}  // namespace
}  // namespace vx40
