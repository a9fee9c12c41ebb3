// SPDX-License-Identifier: GPL-3.0-or-later
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "ToolProcess.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr const char* kPdfInfo = "/usr/bin/pdfinfo";

// The fullest page there is: every channel with prescalers of its own (a column each) and a
// long row frequency that the nibbles contradict (a second line each), under a long name.
std::string FullestTable() {
    std::string text;
    for (int channel = 1; channel <= 16; ++channel) {
        text += "[Wert" + std::to_string(channel) + "]\nFrequenz=<b>" + std::string(60, '9') +
                "\nD7=0" + "0123456789ABCDEF"[channel % 16] +
                "\nD6=08\nD5=03\nD4=07\nD3=02\nD2=07\nD1=08\nD0=04\n";
    }
    return text;
}

// One run of a real browser: the sheet prints on one A4 page.
TEST(SheetRender, PrintsOnOneA4Page) {
    if (::access(kChromium, X_OK) != 0 || ::access(kPdfInfo, X_OK) != 0) {
        GTEST_SKIP() << "needs " << kChromium << " and " << kPdfInfo
                     << " (chromium, poppler-utils)";
    }
    TempDir dir;
    const std::string table = dir.Path(std::string(200, 'n') + ".vx4");
    WriteBytes(table, FullestTable());
    const ToolOutput sheet = RunTool({"sheet", table, "-o", dir.Path("blatt.html")});
    ASSERT_EQ(sheet.exitCode, 0) << sheet.err;
    const std::string command =
        std::string("timeout 300 ") + kChromium +
        " --headless --no-sandbox --disable-gpu --disable-background-networking"
        " --disable-component-update --disable-sync --no-first-run --no-pdf-header-footer"
        " --user-data-dir=" +
        dir.Path("profile") + " --print-to-pdf=" + dir.Path("blatt.pdf") + " file://" +
        dir.Path("blatt.html") + " >" + dir.Path("chromium.log") + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(dir.Path("chromium.log"));
    ASSERT_EQ(std::system((std::string(kPdfInfo) + " " + dir.Path("blatt.pdf") + " >" +
                           dir.Path("info.txt"))
                              .c_str()),
              0);
    const std::string info = ReadBytes(dir.Path("info.txt"));
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
}

}  // namespace
}  // namespace vx40::cli_test
