// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "files/BinImage.h"
#include "files/ChannelSheet.h"

namespace vx40 {
namespace {

// 798300 kHz with R0 12, R1 5, R2 2 and the modulator on: N = 63864 = 3, 114, 120.
constexpr NibbleValues kWorkedD0ToD7 = {4, 8, 7, 2, 7, 3, 8, 5};
// The same N with R1 9 and R2 1: 13888 Hz * 63864 = 886943.232 kHz.
constexpr NibbleValues kOtherPrescalersD0ToD7 = {4, 8, 7, 2, 7, 3, 8, 0};

BinImage ImageOf(const NibbleValues& channel1, const NibbleValues* channel2 = nullptr) {
    BinImage image;
    image.fill(kEmptyCellByte);
    for (int k = 0; k < kNibblesPerChannel; ++k) {
        const auto i = static_cast<std::size_t>(k);
        image[BinImageOffset({1, k})] = static_cast<std::uint8_t>(channel1[i]);
        if (channel2 != nullptr) {
            image[BinImageOffset({2, k})] = static_cast<std::uint8_t>((*channel2)[i]);
        }
    }
    return image;
}

ChannelTable TableOf(const BinImage& image, const std::string& frequencyCell) {
    ChannelTable table;
    ApplyBinImage(table, image);
    table.SetCell(kFrequencyColumn, 1, frequencyCell);
    return table;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

const SheetHeading kHeading{"kanäle.vx4", "08.12.2026", kCrystalHz};
const std::string kWorkedRow =
    "<td>63864</td><td>3</td><td>114</td><td>120</td><td class=\"hex\">05</td><td "
    "class=\"hex\">08</td><td class=\"hex\">03</td><td class=\"hex\">07</td><td "
    "class=\"hex\">02</td><td class=\"hex\">07</td><td class=\"hex\">08</td><td "
    "class=\"hex\">04</td><td>1</td><td class=\"hex\">04</td></tr>";

// An empty channel 16 keeps its nibbles under D7 to D0: the blank cells span the reading's columns.
const std::string kEmptyRow = "<th>16</th><td class=\"leer\">leer</td>";
const std::string kEmptyNibbles =
    "<td class=\"hex\">0F</td><td class=\"hex\">0F</td><td class=\"hex\">0F</td><td "
    "class=\"hex\">0F</td><td class=\"hex\">0F</td><td class=\"hex\">0F</td><td "
    "class=\"hex\">0F</td><td class=\"hex\">0F</td><td colspan=\"2\"></td></tr>";

TEST(ChannelSheet, ShowsWhatTheChannelsHold) {
    struct Case {
        const char* name;
        std::string html;
        std::vector<std::string> shown;
        std::vector<std::string> absent;
        std::size_t emptyChannels;
    };
    const BinImage worked = ImageOf(kWorkedD0ToD7);
    const BinImage mixed = ImageOf(kWorkedD0ToD7, &kOtherPrescalersD0ToD7);
    const Case cases[] = {
        {"image: the true frequency and one line of prescalers",
         ChannelSheetHtml(worked, kHeading),
         {"<th>1</th><td>798300.000</td>" + kWorkedRow, "R0 12, R1 5, R2 2, Ratio 12500 Hz",
          "<td>Abbild</td>", "<td>kanäle.vx4</td>", "<td>08.12.2026</td>",
          "<th>0x00</th><td>0F</td>",
          "<th>0x70</th><td>0F</td><td>0F</td><td>0F</td><td>0F</td><td>0F</td><td>0F</td><td>0F</"
          "td><td>0F</td><td>04</td><td>08</td><td>07</td><td>02</td><td>07</td><td>03</td><td>08</"
          "td><td>05</td></tr>",
          "Summe 0x0734, CRC-32 0x56897F4E", kEmptyRow + "<td colspan=\"4\"></td>" + kEmptyNibbles},
         {"<th>R0</th>", "<th>0x80</th>"},
         15},
        {"table: the row's frequency",
         *ChannelSheetHtml(TableOf(worked, "798300"), kHeading),
         {"<th>1</th><td>798300</td>" + kWorkedRow, "<td>Kanaldatei</td>",
          "Summe 0x0734, CRC-32 0x56897F4E"},
         {"Abbild: "},
         15},
        {"table: a row whose nibbles give another frequency shows both",
         *ChannelSheetHtml(TableOf(worked, "798400"), kHeading),
         {"<td>798400<span class=\"hinweis\">Abbild: 798300.000</span></td>"},
         {},
         15},
        {"channels with their own prescalers: per channel",
         ChannelSheetHtml(mixed, kHeading),
         {"je Kanal verschieden", "<th>R0</th><th>R1</th><th>R2</th><th>Ratio (Hz)</th>",
          "<th>1</th><td>798300.000</td><td>12</td><td>5</td><td>2</td><td>12500</td><td>63864</"
          "td>",
          "<th>2</th><td>886943.232</td><td>12</td><td>9</td><td>1</td><td>13888</td><td>63864</"
          "td>",
          "Summe 0x06E3, CRC-32 0xD2551530", kEmptyRow + "<td colspan=\"8\"></td>" + kEmptyNibbles},
         {"Ratio 12500 Hz"},
         14},
        {"a hostile name and date are text, never markup",
         ChannelSheetHtml(worked, {"<script>&\"x'\x1b</b>.bin", "<i>", kCrystalHz}),
         {"<td>&lt;script&gt;&amp;&quot;x&#39;\\x1b&lt;/b&gt;.bin</td>", "<td>&lt;i&gt;</td>"},
         {"<script", "<i>", "</b>", "\x1b"},
         15},
        {"a hostile frequency cell is escaped and cut short",
         *ChannelSheetHtml(TableOf(worked, "<img src=x>" + std::string(100, 'A')), kHeading),
         {"<td>&lt;img src=x&gt;AAAAAAAAAAAAA…<span class=\"hinweis\">Abbild: 798300.000</span>"},
         {"<img", std::string(14, 'A')},
         15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& part : c.shown) {
            EXPECT_NE(c.html.find(part), std::string::npos) << part;
        }
        for (const std::string& part : c.absent) {
            EXPECT_EQ(c.html.find(part), std::string::npos) << part;
        }
        EXPECT_EQ(Count(c.html, "<td class=\"leer\">leer</td>"), c.emptyChannels);
        // One self-contained page: printed on A4, nothing run, nothing fetched.
        EXPECT_EQ(c.html.rfind(
                      "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">", 0),
                  0u);
        EXPECT_NE(c.html.find("@page { size: A4;"), std::string::npos);
        EXPECT_EQ(Count(c.html, "<script"), 0u);
        EXPECT_EQ(Count(c.html, "://"), 0u);
        EXPECT_EQ(Count(c.html, "<tr><th>0x"), 8u);
    }
}

TEST(ChannelSheet, TableWithAnInvalidCellGivesNoPage) {
    ChannelTable table = TableOf(ImageOf(kWorkedD0ToD7), "798300");
    table.SetCell(NibbleColumn(3), 1, "0a");
    const Result<std::string> page = ChannelSheetHtml(table, kHeading);
    ASSERT_FALSE(page.Ok());
    EXPECT_EQ(page.Error().kind, FailureKind::InvalidNibbleCell);
    EXPECT_EQ(page.Error().detail, "0a");
}

TEST(ChannelSheet, DatesAreWrittenTheGermanWay) {
    const struct {
        int day, month, year;
        const char* text;
    } cases[] = {
        {8, 12, 2026, "08.12.2026"}, {31, 1, 2027, "31.01.2027"}, {10, 10, 2030, "10.10.2030"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SheetDateText(c.day, c.month, c.year), c.text);
    }
}

}  // namespace
}  // namespace vx40
