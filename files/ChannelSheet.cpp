// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ChannelSheet.h"

#include <array>
#include <optional>
#include <string_view>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "files/ImageChecksums.h"
#include "text/CharacterRules.h"
#include "text/ShownText.h"

namespace vx40 {
namespace {

// A cell or a name from a file may be of any length; cut short, it cannot push the page onto a
// second sheet.
constexpr std::size_t kMaxCellCharacters = 24;
constexpr std::size_t kMaxNameCharacters = 160;
constexpr std::size_t kBytesPerRow = 16;

// Print styles: the page is A4 in portrait; rows never break apart, and a name too long for a
// line wraps anywhere.
constexpr std::string_view kStyle = R"(@page { size: A4; margin: 14mm 12mm; }
* { box-sizing: border-box; }
html, body { margin: 0; padding: 0; background: #fff; color: #000; }
body { font-family: sans-serif; font-size: 8.5pt; }
h1 { font-size: 15pt; margin: 0 0 3mm 0; }
h2 { font-size: 10.5pt; margin: 5mm 0 1.5mm 0; }
table { border-collapse: collapse; }
tr { break-inside: avoid; }
th, td { border: 0.2mm solid #444; padding: 0.5mm 1mm; text-align: right; white-space: nowrap; }
th { background: #e6e6e6; }
.angaben th, .angaben td { border: none; background: none; text-align: left; padding: 0.4mm 4mm 0.4mm 0; }
.angaben td { white-space: normal; overflow-wrap: anywhere; }
td.leer { text-align: left; font-style: italic; }
.hinweis { display: block; font-size: 7pt; }
.hex { font-family: monospace; }
@media screen { body { max-width: 186mm; margin: 8mm auto; } }
)";

std::string Escaped(std::string_view text, std::size_t maxCharacters) {
    std::string html;
    for (const char c : ShownText(text, maxCharacters)) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            case '\'':
                html += "&#39;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string Cell(std::string_view tag, const std::string& html, std::string_view attributes = {}) {
    return "<" + std::string(tag) + std::string(attributes) + ">" + html + "</" + std::string(tag) +
           ">";
}

using Readings = std::array<std::optional<ChannelReading>, kChannelCount>;

bool SamePrescalers(const ChannelReading& a, const ChannelReading& b) {
    return a.r0.code == b.r0.code && a.r1.code == b.r1.code && a.r2.code == b.r2.code;
}

// The prescalers every programmed channel shares; none where they differ or no channel is.
std::optional<ChannelReading> SharedPrescalers(const Readings& readings) {
    std::optional<ChannelReading> shared;
    for (const auto& reading : readings) {
        if (!reading) {
            continue;
        }
        if (shared && !SamePrescalers(*shared, *reading)) {
            return std::nullopt;
        }
        shared = reading;
    }
    return shared;
}

bool AnyProgrammed(const Readings& readings) {
    for (const auto& reading : readings) {
        if (reading) {
            return true;
        }
    }
    return false;
}

std::string PrescalerText(const ChannelReading& reading) {
    return "R0 " + std::string(reading.r0.text) + ", R1 " + std::string(reading.r1.text) + ", R2 " +
           std::string(reading.r2.text) + ", Ratio " + DecimalText(reading.ratio) + " Hz";
}

std::string PrescalerSummary(const Readings& readings) {
    if (const auto shared = SharedPrescalers(readings)) {
        return PrescalerText(*shared);
    }
    return AnyProgrammed(readings) ? "je Kanal verschieden, siehe Kanäle"
                                   : "keine, alle Kanäle sind leer";
}

// The frequency of a programmed channel: the image's own, or the table row's, with the image's
// beside it where the two differ, so that the record never hides what the chip will do.
std::string FrequencyCell(const ChannelReading& reading, const ChannelTable* table, int channel) {
    const std::string imageKhz = KhzText(reading.frequencyHz);
    if (table == nullptr) {
        return imageKhz;
    }
    const std::string& rowText = table->Cell(kFrequencyColumn, channel);
    if (reading.frequencyHz % 1000 == 0 && rowText == DecimalText(reading.frequencyHz / 1000)) {
        return rowText;
    }
    return Escaped(rowText, kMaxCellCharacters) + "<span class=\"hinweis\">Abbild: " + imageKhz +
           "</span>";
}

std::string ChannelRowHtml(int channel, const std::optional<ChannelReading>& reading,
                           const NibbleValues& nibbles, const ChannelTable* table,
                           bool prescalerColumns) {
    std::string row = "<tr>" + Cell("th", DecimalText(channel));
    // N, N2, N1, N0 and, where shown, R0, R1, R2 and the ratio.
    const int readingColumns = prescalerColumns ? 8 : 4;
    if (!reading) {
        row += Cell("td", std::string(kEmptyChannelText), " class=\"leer\"");
        row += "<td colspan=\"" + DecimalText(readingColumns) + "\"></td>";
    } else {
        row += Cell("td", FrequencyCell(*reading, table, channel));
        if (prescalerColumns) {
            row += Cell("td", std::string(reading->r0.text)) +
                   Cell("td", std::string(reading->r1.text)) +
                   Cell("td", std::string(reading->r2.text)) +
                   Cell("td", DecimalText(reading->ratio));
        }
        row += Cell("td", DecimalText(reading->n)) +
               Cell("td", DecimalText(reading->n / kN2Weight)) +
               Cell("td", DecimalText(reading->n / kN1Weight % kPartRange)) +
               Cell("td", DecimalText(reading->n % kPartRange));
    }
    for (int k = kNibblesPerChannel - 1; k >= 0; --k) {
        row += Cell("td", NibbleText(nibbles[static_cast<std::size_t>(k)]), " class=\"hex\"");
    }
    if (reading) {
        row += Cell("td", reading->modulator ? "1" : "0") +
               Cell("td", NibbleText(reading->testNibble), " class=\"hex\"");
    } else {
        row += "<td colspan=\"2\"></td>";
    }
    return row + "</tr>\n";
}

std::string ChannelTableHtml(const BinImage& image, const Readings& readings,
                             const ChannelTable* table) {
    const bool prescalerColumns = !SharedPrescalers(readings) && AnyProgrammed(readings);
    std::string html = "<table class=\"kanaele\">\n<thead><tr>" + Cell("th", "Kanal") +
                       Cell("th", "Frequenz (kHz)");
    if (prescalerColumns) {
        html += Cell("th", "R0") + Cell("th", "R1") + Cell("th", "R2") + Cell("th", "Ratio (Hz)");
    }
    html += Cell("th", "N") + Cell("th", "N2") + Cell("th", "N1") + Cell("th", "N0");
    for (int k = kNibblesPerChannel - 1; k >= 0; --k) {
        html += Cell("th", "D" + DecimalText(k));
    }
    html += Cell("th", "Modulator") + Cell("th", "Test") + "</tr></thead>\n<tbody>\n";
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        html += ChannelRowHtml(channel, readings[static_cast<std::size_t>(channel - 1)],
                               ChannelNibbleValues(image, channel), table, prescalerColumns);
    }
    return html + "</tbody>\n</table>\n";
}

std::string ByteTableHtml(const BinImage& image) {
    std::string html = "<table class=\"bytes hex\">\n<thead><tr>" + Cell("th", "Adresse");
    for (std::size_t column = 0; column < kBytesPerRow; ++column) {
        html += Cell("th", "+" + std::string(1, kUpperHexDigits[column]));
    }
    html += "</tr></thead>\n<tbody>\n";
    for (std::size_t start = 0; start < image.size(); start += kBytesPerRow) {
        html += "<tr>" + Cell("th", "0x" + TwoDigitHexText(static_cast<std::int32_t>(start)));
        for (std::size_t offset = start; offset < start + kBytesPerRow; ++offset) {
            html += Cell("td", TwoDigitHexText(image[offset]));
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n";
}

std::string HeadingRow(std::string_view label, const std::string& html) {
    return "<tr>" + Cell("th", std::string(label)) + Cell("td", html) + "</tr>\n";
}

std::string SheetPage(const BinImage& image, const SheetHeading& heading, std::string_view source,
                      const ChannelTable* table) {
    Readings readings;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        readings[static_cast<std::size_t>(channel - 1)] =
            ReadChannel(ChannelNibbleValues(image, channel), heading.crystalHz);
    }
    const std::string name = Escaped(heading.fileName, kMaxNameCharacters);
    const std::string checksums = ChecksumText(ChecksumsOf(image));
    std::string html = "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<title>VX40 Kanalblatt: " + name + "</title>\n<style>\n" + std::string(kStyle) +
            "</style>\n</head>\n<body>\n<h1>VX40 Kanalblatt</h1>\n<table class=\"angaben\">\n";
    html += HeadingRow("Datei", name);
    html += HeadingRow("Inhalt", std::string(source));
    html += HeadingRow("Datum", Escaped(heading.date, kMaxCellCharacters));
    html += HeadingRow("Quarz", DecimalText(heading.crystalHz) + " Hz");
    html += HeadingRow("Vorteiler", PrescalerSummary(readings));
    html += HeadingRow("Prüfsummen", checksums);
    html += "</table>\n<h2>Kanäle</h2>\n" + ChannelTableHtml(image, readings, table);
    html += "<h2>Abbild, 128 Bytes nach Adresse</h2>\n" + ByteTableHtml(image);
    html += "<p>Prüfsummen der 128 Bytes: " + checksums + "</p>\n</body>\n</html>\n";
    return html;
}

}  // namespace

std::string ChannelSheetHtml(const BinImage& image, const SheetHeading& heading) {
    return SheetPage(image, heading, "Abbild", nullptr);
}

Result<std::string> ChannelSheetHtml(const ChannelTable& table, const SheetHeading& heading) {
    const Result<BinImage> image = BuildBinImage(table);
    if (!image) {
        return image.Error();
    }
    return SheetPage(*image, heading, "Kanaldatei", &table);
}

std::string SheetDateText(int day, int month, int year) {
    const auto twoDigits = [](int value) {
        return std::string(value < 10 ? "0" : "") + DecimalText(value);
    };
    return twoDigits(day) + '.' + twoDigits(month) + '.' + DecimalText(year);
}

}  // namespace vx40
