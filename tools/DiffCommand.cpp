// SPDX-License-Identifier: GPL-3.0-or-later
#include <CLI/App.hpp>

#include "files/BinImage.h"
#include "text/ShownText.h"
#include "tools/CalculationOptions.h"
#include "tools/ChipOptions.h"
#include "tools/DiffReport.h"
#include "tools/ExitCode.h"
#include "tools/ImageInput.h"
#include "tools/InputFile.h"
#include "tools/InspectReport.h"
#include "tools/ToolApplication.h"
#include "tools/ToolCommand.h"
#include "tools/ToolFailure.h"

namespace vx40::tool {
namespace {

struct DiffArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string first;
    std::string second;
    ChipReading chip;
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
// encoder refuses an invalid cell, with no bytes read; any other file as an image, read as a
// chip where an offset is given.
Result<ImageRead> SideImage(const std::string& path, const ChipReading& chip) {
    Result<ImageRead> image = [&]() -> Result<ImageRead> {
        if (!IsChannelSetPath(path)) {
            return ReadImageInput(path, chip);
        }
        const Result<ChannelTable> table = LoadChannelSetInput(path);
        if (!table) {
            return table.Error();
        }
        const Result<BinImage> built = BuildBinImage(*table);
        return built ? Result<ImageRead>(ImageRead{*built, {}}) : built.Error();
    }();
    if (!image) {
        return SideFailure(image.Error(), path);
    }
    return image;
}

// The bytes of a chip side outside its image that are not the fill: a line each, on out or, so
// that a CSV table stays a table alone, on err. True if there are any.
bool ReportChipRest(const char* side, const ImageRead& read, const DiffArguments& arguments,
                    std::ostream& shown) {
    const std::string line =
        ChipRestLine((arguments.csv ? std::string(kToolName) + ": " : std::string()) + side + ": ",
                     read.bytes, arguments.chip.offset.value_or(0), arguments.chip.fill);
    shown << line;
    return !line.empty();
}

Result<int> RunDiff(const DiffArguments& arguments, std::ostream& out, std::ostream& err) {
    if (const Status once =
            CheckStandardInputOnce({{"A", arguments.first}, {"B", arguments.second}});
        !once) {
        return once.Error();
    }
    const Result<ImageRead> firstImage = SideImage(arguments.first, arguments.chip);
    if (!firstImage) {
        return firstImage.Error();
    }
    const Result<ImageRead> secondImage = SideImage(arguments.second, arguments.chip);
    if (!secondImage) {
        return secondImage.Error();
    }
    for (const auto& [path, read] :
         {std::pair{&arguments.first, &*firstImage}, std::pair{&arguments.second, &*secondImage}}) {
        if (!read->bytes.empty()) {
            PrintChecksumLine(err, *path, false, read->bytes);
        }
    }
    const DiffReport report =
        CompareImages(firstImage->image, secondImage->image, arguments.crystalHz, arguments.csv);
    out << report.text;
    std::ostream& restShown = arguments.csv ? err : out;
    const bool firstRest = ReportChipRest("A", *firstImage, arguments, restShown);
    const bool secondRest = ReportChipRest("B", *secondImage, arguments, restShown);
    return report.differs || firstRest || secondRest ? kExitRefused : kExitSuccess;
}

void DeclareDiff(CLI::App& command, DiffArguments& arguments) {
    AddCrystalOption(command, arguments.crystalHz);
    AddCsvFlag(command, arguments.csv);
    AddChipReadingOptions(command, arguments.chip);
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
        "[--crystal HZ] [--csv] [--offset BYTES [--fill BYTE]] A B", DeclareDiff, RunDiff);
}

}  // namespace vx40::tool
