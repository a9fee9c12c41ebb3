// SPDX-License-Identifier: GPL-3.0-or-later
#include <memory>
#include <optional>

#include "channel/CellText.h"
#include "channel/ChannelReading.h"
#include "files/BinFile.h"
#include "text/CharacterRules.h"
#include "text/ShownText.h"
#include "tools/CalculationOptions.h"
#include "tools/ExitCode.h"
#include "tools/FrequencyText.h"
#include "tools/ImageInput.h"
#include "tools/InputFile.h"
#include "tools/TableOutput.h"
#include "tools/ToolCommand.h"
#include "tools/ToolError.h"

namespace vx40::tool {
namespace {

struct DiffArguments {
    std::int32_t crystalHz = kCrystalHz;
    bool csv = false;
    std::string first;
    std::string second;
};

bool IsChannelSetPath(const std::string& path) {
    constexpr std::string_view kExtension = ".vx4";
    if (path.size() < kExtension.size()) {
        return false;
    }
    return AsciiLowered(std::string_view(path).substr(path.size() - kExtension.size())) ==
           kExtension;
}

// The image a side stands for: a channel-set file as the image it encodes to, refused like the
// encoder refuses an invalid cell; any other file as an image.
BinImage SideImage(const std::string& path) {
    if (IsChannelSetPath(path)) {
        // Exit code 1 tells that the two differ, so a refused side is a failure of the call.
        const BinImageBuild built = [&] {
            try {
                return BuildBinImage(LoadChannelSetInput(path));
            } catch (const ToolRefusal& refusal) {
                throw ToolError(refusal.what(), false);
            }
        }();
        if (!built.image) {
            throw ToolError(
                "\"" + ShownText(path) + "\": " + InvalidNibbleCellMessage(*built.invalidCell),
                false);
        }
        return *built.image;
    }
    const BinImageParse read = ReadImageInput(path);
    if (!read.Accepted()) {
        throw ToolError("\"" + ShownText(path) + "\": " + ImageRefusalText(read), false);
    }
    return read.image;
}

std::string ReadingText(const NibbleValues& nibbles, std::int32_t crystalHz) {
    const auto reading = ReadChannel(nibbles, crystalHz);
    return reading ? KhzText(reading->frequencyHz) + " kHz" : std::string("leer");
}

int RunDiff(const DiffArguments& arguments, std::ostream& out, std::ostream& /*err*/) {
    CheckStandardInputOnce({{"A", arguments.first}, {"B", arguments.second}});
    const BinImage first = SideImage(arguments.first);
    const BinImage second = SideImage(arguments.second);
    std::vector<TextRow> rows;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const NibbleValues a = ChannelNibbleValues(first, channel);
        const NibbleValues b = ChannelNibbleValues(second, channel);
        std::string differing;
        for (int k = kNibblesPerChannel - 1; k >= 0; --k) {
            const auto i = static_cast<std::size_t>(k);
            if (a[i] == b[i]) {
                continue;
            }
            // Appended: GCC 12 warns -Wrestrict, wrongly, on "D" + std::string at -O2 and up.
            const std::string nibble = std::string("D").append(DecimalText(k));
            if (!differing.empty()) {
                differing += ", ";
            }
            differing += nibble;
            rows.push_back({DecimalText(channel), nibble, NibbleText(a[i]), NibbleText(b[i])});
        }
        if (!arguments.csv && !differing.empty()) {
            out << "Kanal " << channel << ": " << ReadingText(a, arguments.crystalHz) << " gegen "
                << ReadingText(b, arguments.crystalHz) << " (" << differing << " verschieden)\n";
        }
    }
    if (arguments.csv) {
        PrintTable(out, {"Kanal", "Nibble", "A", "B"}, rows, true);
    }
    return rows.empty() ? kExitSuccess : kExitRefused;
}

}  // namespace

ToolCommand DiffCommand() {
    return {
        "diff",
        "zwei Abbilder oder Kanaldateien Nibble für Nibble vergleichen (0 gleich, 1 verschieden)",
        "[--crystal HZ] [--csv] A B", [](CLI::App& command) -> CommandRun {
            auto arguments = std::make_shared<DiffArguments>();
            AddCrystalOption(command, arguments->crystalHz);
            command.add_flag("--csv", arguments->csv, "durch Kommas getrennt ausgeben");
            command
                .add_option(
                    "A", arguments->first,
                    "Bin-Datei, Intel HEX, S-Records oder Kanaldatei (.vx4); -: Standardeingabe")
                ->required()
                ->type_name("");
            command.add_option("B", arguments->second, "ebenso")->required()->type_name("");
            return [arguments](std::ostream& out, std::ostream& err) {
                return RunDiff(*arguments, out, err);
            };
        }};
}

}  // namespace vx40::tool
