// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "channel/FrequencyPlan.h"
#include "channel/SpreadsheetPlan.h"
#include "tests/core/TempDir.h"
#include "text/Utf8Text.h"

namespace vx40 {
namespace {

TEST(ReadTableFrequency, ReadsWholeKhzExactlyInEveryUnit) {
    const struct {
        std::string text;
        int columnExponent;
        FrequencyReading reading;
        std::int32_t khz;
    } cases[] = {
        {"145,125", 3, FrequencyReading::Read, 145125},
        {"145.1250000000000000000001", 3, FrequencyReading::NotWholeKhz, 0},
        {"145,1250", 3, FrequencyReading::Read, 145125},
        {" 145125 kHz ", 3, FrequencyReading::Read, 145125},  // the value's unit wins
        {"145125000hz", 0, FrequencyReading::Read, 145125},
        {"145125500 Hz", 0, FrequencyReading::NotWholeKhz, 0},
        {"0,0001 GHz", 0, FrequencyReading::Read, 100},
        {".5 MHz", 0, FrequencyReading::Read, 500},
        {"0000000000000798300", 0, FrequencyReading::Read, 798300},
        {"2147483647", 0, FrequencyReading::Read, 2147483647},
        {"2147483648", 0, FrequencyReading::OutOfRange, 0},
        {"99999999999999999999999 GHz", 0, FrequencyReading::OutOfRange, 0},
        {"1,2,3", 0, FrequencyReading::NoFrequency, 0},
        {"-5", 0, FrequencyReading::NoFrequency, 0},
        {"12 m", 0, FrequencyReading::NoFrequency, 0},
        {"kHz", 0, FrequencyReading::NoFrequency, 0},
        {",", 0, FrequencyReading::NoFrequency, 0},
    };
    for (const auto& row : cases) {
        const TableFrequency read = ReadTableFrequency(row.text, row.columnExponent);
        EXPECT_EQ(read.reading, row.reading) << row.text;
        EXPECT_EQ(read.khz, row.khz) << row.text;
    }
}

// The channels of a plan file however the reads split it; a cut character of UTF-8 at the end of
// a long line's kept start does not turn the line into Windows-1252.
TEST(PlanReader, HandsOverTheSameChannelsWhereverTheReadsSplitTheFile) {
    const std::string remark(kKeptRowBytes - 1, 'x');
    const struct {
        const char* name;
        std::string text;
        std::map<int, std::int32_t> channels;
    } cases[] = {
        {"Table",
         "Kanal;Frequenz (MHz)\r\n16;798,3\r\n\r\n2;\"145,125\"\r\n",
         {{2, 145125}, {16, 798300}}},
        {"Lines", "# Plan\n798300\n\n145125", {{1, 798300}, {2, 145125}}},
        {"LongRemarkAfterTheFrequency", "Frequenz;Name\n798300;" + remark + "ä\n", {{1, 798300}}},
    };
    testutil::TempDir dir;
    for (const auto& row : cases) {
        testutil::WriteBytes(dir.Path("plan.csv"), row.text);
        const std::string text = testutil::ReadBytes(dir.Path("plan.csv"));
        for (const std::size_t chunk :
             {std::size_t{1}, std::size_t{3}, std::size_t{7}, text.size()}) {
            std::map<int, std::int32_t> channels;
            OffendingLines offending;
            PlanReader reader(
                [&](const PlannedChannel& planned) {
                    channels[planned.channel] = planned.frequencyKhz;
                },
                offending);
            for (std::size_t at = 0; at < text.size(); at += chunk) {
                reader.Feed(std::string_view(text).substr(at, chunk));
            }
            reader.Finish();
            EXPECT_TRUE(offending.Empty()) << row.name << ", chunk " << chunk;
            EXPECT_EQ(channels, row.channels) << row.name << ", chunk " << chunk;
        }
    }
}

TEST(LineAsUtf8, KeepsUtf8AndReadsEverythingElseAsWindows1252) {
    const struct {
        std::string line;
        bool cut;
        std::string utf8;
    } cases[] = {
        {"Größe €", false, "Größe €"},
        {"Gr\xF6\xDF\x65 \x80\x9F\x81", false, "Größe €Ÿ\xC2\x81"},
        {"Gr\xC3", true, "Gr\xC3"},  // the start of "ö", cut off
        {"Gr\xC3", false, "GrÃ"},    // a line that ends there is no UTF-8
        {"\xF4\x8F\xBF", true, "\xF4\x8F\xBF"},
        {"\xED\xA0\x80", false, "í\xC2\xA0€"},  // a surrogate is no UTF-8
    };
    for (const auto& row : cases) {
        EXPECT_EQ(LineAsUtf8(row.line, row.cut), row.utf8) << row.line;
    }
}

}  // namespace
}  // namespace vx40
