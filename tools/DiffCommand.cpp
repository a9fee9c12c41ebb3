// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/App.hpp>

#include "files/BinImage.h"
#include "text/ShownText.h"
#include "tools/CalculationOptions.h"
#include "tools/DiffReport.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/InputFile.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

struct DiffArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string first;
    std::string second;
};

// Exit code 1 tells that the two sides differ, so a side whose data are refused is a failure of
// the call, named with the tool; an unreadable side stays the unreadable input.
Failure SideFailure(const Failure& failure, const std::string& path) {
    if (failure.kind == FailureKind::ReadFailed) {
        return failure;
    }
    const std::string message = ToolFailureReport(failure).message;
    if (failure.kind == FailureKind::NoChannelSet) {
        return CommandFailure(message);
    }
    return CommandFailure("\"" + ShownText(path) + "\": " + message);
}

// The image a side stands for: a channel-set file as the image it encodes to, refused like the
// encoder refuses an invalid cell; any other file as an image.
Result<BinImage> SideImage(const std::string& path) {
    Result<BinImage> image = [&]() -> Result<BinImage> {
        if (!IsChannelSetPath(path)) {
            return ReadImageInput(path);
        }
        const Result<ChannelTable> table = LoadChannelSetInput(path);
        return table ? BuildBinImage(*table) : Result<BinImage>(table.Error());
    }();
    if (!image) {
        return SideFailure(image.Error(), path);
    }
    return image;
}

Result<int> RunDiff(const DiffArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    if (const Status once =
            CheckStandardInputOnce({{"A", arguments.first}, {"B", arguments.second}});
        !once) {
        return once.Error();
    }
    const Result<BinImage> firstImage = SideImage(arguments.first);
    if (!firstImage) {
        return firstImage.Error();
    }
    const Result<BinImage> secondImage = SideImage(arguments.second);
    if (!secondImage) {
        return secondImage.Error();
    }
    const DiffReport report =
        CompareImages(*firstImage, *secondImage, arguments.crystalHz, arguments.csv);
    out << report.text;
    return report.differs ? kExitRefused : kExitSuccess;
}

void DeclareDiff(CLI::App& command, DiffArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    AddCsvFlag(command, arguments.csv);
    command
        .add_option("A", arguments.first,
                    "Bin-Datei, Intel HEX, S-Records oder Kanaldatei (.vx4); -: Standardeingabe")
        ->required()
        ->type_name("");
    command.add_option("B", arguments.second, "ebenso")->required()->type_name("");
}

}  // namespace

ToolCommand DiffCommand() {
    return CommandOf(
        "diff",
        "zwei Abbilder oder Kanaldateien Nibble für Nibble vergleichen (0 gleich, 1 verschieden)",
        "[--crystal HZ] [--csv] A B", DeclareDiff, RunDiff);
}

}  // namespace vx40::tool
