// SPDX-License-Identifier: GPL-3.0-or-later
#include <optional>

#include <CLI/App.hpp>

#include "files/FileFailureText.h"
#include "files/ImageFormats.h"
#include "tools/ExitCode.h"
#include "tools/ImageFormatOption.h"
#include "tools/ImageOutput.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

struct EncodeArguments {
    std::string inputPath;
    std::string binPath;
    ImageFormat format = ImageFormat::Bin;
};

int RunEncode(const EncodeArguments& arguments, std::ostream& out, std::ostream& err) {
    CheckDistinctFiles({{"IN.vx4", arguments.inputPath}, {"-o", arguments.binPath, true}});
    const ChannelTable table = LoadChannelSetInput(arguments.inputPath);
    const Status written = WriteImageOutput(table, arguments.binPath, arguments.format, out);
    if (written) {
        return kExitSuccess;
    }
    const std::string message = ImageFailureText(written.Error(), arguments.binPath);
    if (written.Error().kind == FailureKind::InvalidNibbleCell) {
        err << message << '\n';
        return kExitRefused;
    }
    throw ToolError(message, false);
}

void DeclareEncode(CLI::App& command, EncodeArguments& arguments) {
    command.add_option("IN.vx4", arguments.inputPath, "die Kanaldatei")->required()->type_name("");
    command.add_option("-o", arguments.binPath, "die Bin-Datei, die geschrieben wird")
        ->required()
        ->type_name("OUT.bin");
    AddImageFormatOption(command, arguments.format, arguments.binPath);
}

}  // namespace

ToolCommand EncodeCommand() {
    return CommandOf("encode", "eine Kanaldatei als Bin-Datei schreiben",
                     "IN.vx4 -o OUT.bin [--format FORMAT]", DeclareEncode, RunEncode);
}

}  // namespace vx40::tool
