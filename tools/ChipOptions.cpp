// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ChipOptions.h"

#include <CLI/App.hpp>

#include "files/ImageChecksums.h"
#include "tools/InputFile.h"
#include "tools/InspectReport.h"
#include "tools/ToolApplication.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

// An option whose text the core converts; its refusal is the parser's, so the usage follows.
template <class T>
void AddChipOption(CLI::App& command, const char* name, const char* help, const char* typeName,
                   Result<T> (*convert)(std::string_view), T& value) {
    command
        .add_option_function<std::string>(
            name, [&value, convert](const std::string& text) { value = *convert(text); }, help)
        ->type_name(typeName)
        ->check(CLI::Validator(
            [convert](std::string& text) -> std::string {
                const Result<T> converted = convert(text);
                return converted ? std::string() : converted.Error().detail;
            },
            "", name));
}

}  // namespace

void AddChipLayoutOptions(CLI::App& command, ChipLayout& layout) {
    AddChipOption(command, "--size",
                  "das Abbild so groß wie der Chip schreiben: 128 bis 1048576 Bytes, dezimal oder "
                  "0x hexadezimal",
                  "BYTES", ChipSizeValue, layout.size);
    AddChipOption(command, "--fill", "mit --size: der Wert der übrigen Bytes (Vorgabe 0xFF)",
                  "BYTE", ChipFillValue, layout.fill);
    AddChipOption(command, "--offset", "mit --size: die Adresse der 128 Bytes im Chip (Vorgabe 0)",
                  "BYTES", ChipOffsetValue, layout.offset);
}

Status CheckChipLayoutCall(const ChipLayout& layout) {
    const Status checked = CheckChipLayout(layout);
    return checked ? checked : Status(CallRefusal(checked.Error().detail));
}

void AddChipReadingOptions(CLI::App& command, ChipReading& reading) {
    command
        .add_option_function<std::string>(
            "--offset",
            [&reading](const std::string& text) { reading.offset = *ChipOffsetValue(text); },
            "ein Abbild über 128 Bytes als ganzen Chip lesen, die 128 Bytes an dieser Adresse")
        ->type_name("BYTES")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const Result<std::size_t> offset = ChipOffsetValue(text);
                return offset ? std::string() : offset.Error().detail;
            },
            "", "--offset"));
    AddChipOption(command, "--fill",
                  "mit --offset: der Wert unbenutzter Bytes des Chips und der Lücken zwischen "
                  "Datensätzen (Vorgabe 0xFF)",
                  "BYTE", ChipFillValue, reading.fill);
}

void PrintChecksumLine(std::ostream& err, const std::string& path, bool output,
                       std::span<const std::uint8_t> bytes) {
    err << kToolName << ": "
        << (!IsStandardStream(path) ? FileChecksumsText(path, bytes)
            : output                ? "Standardausgabe: " + ChecksumText(ChecksumsOf(bytes))
                                    : "Standardeingabe: " + ChecksumText(ChecksumsOf(bytes)))
        << '\n';
}

}  // namespace vx40::tool
