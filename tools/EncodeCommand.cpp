// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/App.hpp>

#include "files/ImageFormats.h"
#include "tools/ChipOptions.h"
#include "tools/ExitCode.h"
#include "tools/ImageFormatOption.h"
#include "tools/ImageOutput.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

struct EncodeArguments {
    std::string inputPath;
    std::string binPath;
    ImageFormat format = ImageFormat::Bin;
    ChipLayout layout;
};

Result<int> RunEncode(const EncodeArguments& arguments, std::ostream& out, std::ostream& err) {
    if (const Status fits = CheckChipLayoutCall(arguments.layout); !fits) {
        return fits.Error();
    }
    if (const Status distinct =
            CheckDistinctFiles({{"IN.vx4", arguments.inputPath}, {"-o", arguments.binPath, true}});
        !distinct) {
        return distinct.Error();
    }
    const Result<ChannelTable> table = LoadChannelSetInput(arguments.inputPath);
    if (!table) {
        return table.Error();
    }
    if (const Status written = WriteImageOutput(*table, arguments.binPath, arguments.format,
                                                arguments.layout, out, err);
        !written) {
        return written.Error();
    }
    return kExitSuccess;
}

void DeclareEncode(CLI::App& command, EncodeArguments& arguments) {
    command.add_option("IN.vx4", arguments.inputPath, "die Kanaldatei")->required()->type_name("");
    command.add_option("-o", arguments.binPath, "die Bin-Datei, die geschrieben wird")
        ->required()
        ->type_name("OUT.bin");
    AddImageFormatOption(command, arguments.format, arguments.binPath);
    AddChipLayoutOptions(command, arguments.layout);
}

}  // namespace

ToolCommand EncodeCommand() {
    return CommandOf(
        "encode", "eine Kanaldatei als Bin-Datei schreiben",
        "IN.vx4 -o OUT.bin [--format FORMAT] [--size BYTES [--fill BYTE] [--offset BYTES]]",
        DeclareEncode, RunEncode);
}

}  // namespace vx40::tool
