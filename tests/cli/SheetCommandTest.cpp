// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "ChannelImage.h"
#include "ToolProcess.h"
#include "files/BinImage.h"
#include "files/IntelHex.h"
#include "tests/core/TempDir.h"

namespace vx40::cli_test {
namespace {

using testutil::ReadBytes;
using testutil::TempDir;
using testutil::WriteBytes;

const std::string kWorkedTable =
    "[Wert1]\nFrequenz=798300\nN0=120\nN1=114\nN2=3\nD7=05\nD6=08\nD5=03\nD4=07\nD3=02\nD2=07\n"
    "D1=08\nD0=04\n";

BinImage ImageArray(const std::string& bytes) {
    BinImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

// The input kind is told by the content, whatever the name; "-" is standard input.
TEST(Sheet, WritesThePageOfATableOrAnImage) {
    struct Case {
        const char* name;
        std::string file;
        std::string content;
        bool standardInput;
        std::string frequencyCell;
        std::string source;
    };
    const std::string image = ImageBytes({{1, kWorkedChannel}});
    const Case cases[] = {
        {"table", "k.vx4", kWorkedTable, false, "<td>798300</td>", "Kanaldatei"},
        {"table under another name", "k.txt", kWorkedTable, false, "<td>798300</td>", "Kanaldatei"},
        {"bin image", "k.bin", image, false, "<td>798300.000</td>", "Abbild"},
        {"image under a table's name", "k.vx4", image, false, "<td>798300.000</td>", "Abbild"},
        {"Intel HEX on standard input", "k.hex", IntelHexText(ImageArray(image)), true,
         "<td>798300.000</td>", "Abbild"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteBytes(dir.Path(c.file), c.content);
        const int input = c.standardInput ? ::open(dir.Path(c.file).c_str(), O_RDONLY) : -1;
        const ToolOutput output =
            RunTool({"sheet", c.standardInput ? "-" : dir.Path(c.file), "-o", dir.Path("b.html")},
                    {}, input);
        if (input >= 0) {
            ::close(input);
        }
        ASSERT_EQ(output.exitCode, 0) << output.err;
        EXPECT_EQ(output.out + output.err, "");
        const std::string page = ReadBytes(dir.Path("b.html"));
        const std::string name = c.standardInput ? "Standardeingabe" : dir.Path(c.file);
        EXPECT_NE(page.find("<td>" + name + "</td>"), std::string::npos);
        EXPECT_NE(page.find("<td>" + c.source + "</td>"), std::string::npos);
        EXPECT_NE(page.find("<th>1</th>" + c.frequencyCell + "<td>63864</td>"), std::string::npos);
        EXPECT_NE(page.find("Summe 0x0734, CRC-32 0x56897F4E"), std::string::npos);
        EXPECT_TRUE(std::regex_search(page, std::regex("<td>\\d\\d\\.\\d\\d\\.\\d{4}</td>")));
    }
}

TEST(Sheet, RefusesAndWritesNothing) {
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::string>
            arguments;  // "IN" and "OUT" stand for the two files, "{in}" in err
        std::string err;
        int exitCode;
    };
    const Case cases[] = {
        {"a cell that is no nibble, as encode refuses it",
         "[Wert1]\nD0=04\n[Wert9]\nD7=10\n",
         {"IN", "-o", "OUT"},
         "Kanal 9, D7 enthält \"10\": kein gültiges Datennibble (00 bis 0F). Es wurde nichts "
         "geschrieben.\n",
         1},
        {"a .vx4 that is neither",
         "kein INI-Text\n",
         {"IN", "-o", "OUT"},
         "keine Kanaldatei: {in}\n",
         1},
        {"the output is the input",
         kWorkedTable,
         {"IN", "-o", "IN"},
         "vx40-tool: IN und -o nennen dieselbe Datei\n"
         "Aufruf: vx40-tool sheet [--crystal HZ] IN [-o OUT.html]\n",
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string in = dir.Path("in.vx4");
        const std::string out = dir.Path("old.html");
        WriteBytes(in, c.content);
        WriteBytes(out, "old page");
        Arguments arguments = {"sheet"};
        for (const std::string& argument : c.arguments) {
            arguments.push_back(argument == "IN" ? in : argument == "OUT" ? out : argument);
        }
        const ToolOutput output = RunTool(arguments);
        EXPECT_EQ(output.err, std::regex_replace(c.err, std::regex("\\{in\\}"), in));
        EXPECT_EQ(output.exitCode, c.exitCode);
        EXPECT_EQ(ReadBytes(out), "old page");
        EXPECT_EQ(ReadBytes(in), c.content);
        EXPECT_EQ(dir.Names(), (std::vector<std::string>{"in.vx4", "old.html"}));
    }
}

}  // namespace
}  // namespace vx40::cli_test
