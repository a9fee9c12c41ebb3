// SPDX-License-Identifier: GPL-3.0-or-later
#include <ctime>
#include <variant>

#include <CLI/App.hpp>

#include "files/ChannelSheet.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/ImageOutput.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

constexpr std::string_view kStandardInputName = "Standardeingabe";

struct SheetArguments {
    std::int32_t crystalHz = kCrystalHz;
    std::string inputPath;
    std::string outputPath = "-";
};

// Today in the local time zone, as German dates are written: "08.12.2026".
std::string TodayText() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    return SheetDateText(local->tm_mday, local->tm_mon + 1, local->tm_year + 1900);
}

Result<int> RunSheet(const SheetArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    if (const Status distinct =
            CheckDistinctFiles({{"IN", arguments.inputPath}, {"-o", arguments.outputPath, true}});
        !distinct) {
        return distinct.Error();
    }
    const Result<std::variant<ChannelTable, BinImage>> input =
        ReadTableOrImageInput(arguments.inputPath);
    if (!input) {
        return input.Error();
    }
    const SheetHeading heading{IsStandardStream(arguments.inputPath)
                                   ? std::string(kStandardInputName)
                                   : arguments.inputPath,
                               TodayText(), arguments.crystalHz};
    const Result<std::string> page =
        std::holds_alternative<ChannelTable>(*input)
            ? ChannelSheetHtml(std::get<ChannelTable>(*input), heading)
            : Result<std::string>(ChannelSheetHtml(std::get<BinImage>(*input), heading));
    if (!page) {
        return page.Error();
    }
    if (const Status written = WriteOutput(arguments.outputPath, *page, out); !written) {
        return written.Error();
    }
    return kExitSuccess;
}

void DeclareSheet(CLI::App& command, SheetArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    command
        .add_option("IN", arguments.inputPath,
                    "Kanaldatei (.vx4) oder Abbild: Bin-Datei, Intel HEX oder S-Records "
                    "(-: Standardeingabe)")
        ->required()
        ->type_name("");
    command
        .add_option("-o", arguments.outputPath,
                    "das Blatt als HTML-Datei (ohne -o oder -: Standardausgabe)")
        ->type_name("OUT.html");
}

}  // namespace

ToolCommand SheetCommand() {
    return CommandOf("sheet",
                     "ein druckbares Blatt (HTML, eine Seite A4) der 16 Kanäle für die Ablage "
                     "beim Funkgerät schreiben",
                     "[--crystal HZ] IN [-o OUT.html]", DeclareSheet, RunSheet);
}

}  // namespace vx40::tool
