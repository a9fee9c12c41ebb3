// SPDX-License-Identifier: GPL-3.0-or-later

#include <CLI/App.hpp>

#include "channel/NFactorBackCalculation.h"
#include "tools/ChipOptions.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"

namespace vx40::tool {
namespace {

struct ReadArguments {
    bool csv = false;
    std::string inputPath;
};

Result<int> RunDecode(const ReadArguments& arguments, std::ostream& out, std::ostream& err) {
    const Result<ImageRead> read = ReadImageInput(arguments.inputPath);
    if (!read) {
        return read.Error();
    }
    PrintChecksumLine(err, arguments.inputPath, false, read->bytes);
    ChannelTable table;
    ApplyBinImage(table, read->image);
    BackCalculateNFactors(table);
    PrintChannelTable(out, table, arguments.csv);
    return kExitSuccess;
}

void DeclareDecode(CLI::App& command, ReadArguments& arguments) {
    AddCsvFlag(command, arguments.csv);
    command
        .add_option("IN.bin", arguments.inputPath,
                    "die Bin-Datei, auch als Intel HEX oder S-Records (-: Standardeingabe)")
        ->required()
        ->type_name("");
}

}  // namespace

ToolCommand DecodeCommand() {
    return CommandOf("decode", "eine Bin-Datei lesen und N-Faktoren und Frequenzen zurückrechnen",
                     "[--csv] IN.bin", DeclareDecode, RunDecode);
}

}  // namespace vx40::tool
