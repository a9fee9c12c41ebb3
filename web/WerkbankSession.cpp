// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/WerkbankSession.h"

#include <cerrno>
#include <string>

#include "channel/ChannelConstants.h"
#include "channel/PrescalerRaster.h"
#include "files/BinImage.h"
#include "files/ChannelSetFile.h"
#include "files/ImageFormats.h"
#include "files/ImageReader.h"
#include "text/CharacterRules.h"
#include "text/IntegerConversion.h"
#include "tools/DiffReport.h"
#include "tools/FrequencyPlan.h"
#include "tools/InspectReport.h"
#include "tools/RasterReport.h"
#include "tools/ToolFailure.h"

namespace vx40 {
namespace {

constexpr std::string_view kNoFrequencies =
    "Keine Frequenz: die Liste und die Spalte \"Frequenz\" der Tabelle sind leer.";
constexpr std::string_view kExportName = "VX40";

bool IsBlank(std::string_view text) {
    return Trimmed(text, kRecordBlanks).empty();
}

// The message of a refused side, as the tool names it with its file.
std::string SideFailureText(const Failure& failure, const std::string& name) {
    const std::string message = tool::ToolFailureReport(failure).message;
    if (failure.kind == FailureKind::ReadFailed || failure.kind == FailureKind::NoChannelSet) {
        return message;
    }
    return "\"" + name + "\": " + message;
}

// A file as an image: a channel-set file as the image it encodes to, any other as an image of
// any format.
Result<BinImage> SideImage(const std::string& name,
                           std::optional<std::span<const std::uint8_t>> content) {
    if (!content) {
        return Failure(FailureKind::ReadFailed, EIO, name);
    }
    if (!tool::IsChannelSetPath(name)) {
        return ReadImage(*content);
    }
    ChannelTable table;
    const std::string text(content->begin(), content->end());
    if (!LoadChannelSetText(table, text)) {
        return Failure(FailureKind::NoChannelSet, 0, name);
    }
    return BuildBinImage(table);
}

std::string TableFrequencies(const ChannelTable& table) {
    std::string lines;
    for (int row = 1; row < kRowCount; ++row) {
        const std::string& cell = table.Cell(kFrequencyColumn, row);
        if (!IsBlank(cell)) {
            lines += cell + '\n';
        }
    }
    return lines;
}

std::string RasterText(const ChannelTable& table, std::string_view list) {
    const std::string text = IsBlank(list) ? TableFrequencies(table) : std::string(list);
    const tool::PlanFrequencies plan = tool::ReadPlanFrequencies(std::string_view(text));
    if (!plan.offending.Empty()) {
        return plan.offending.Text();
    }
    if (plan.frequenciesKhz.empty()) {
        return std::string(kNoFrequencies);
    }
    return tool::RasterReportText(PrescalerRaster(kCrystalHz, plan.frequenciesKhz), false);
}

}  // namespace

void WerkbankSession::Start(PageReply& reply) const {
    std::vector<std::string> names;
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        names.emplace_back(entry.name);
    }
    reply.lists.emplace_back("WerkbankFormat", std::move(names));
}

void WerkbankSession::Call(PageReply& reply, const ChannelTable& table,
                           const std::vector<std::string_view>& args,
                           std::optional<std::span<const std::uint8_t>> content) const {
    const auto arg = [&](std::size_t index) {
        return index < args.size() ? std::string(args[index]) : std::string();
    };
    PageStep& step = reply.Step();
    const std::string_view name = args[0];
    if (name == "WerkbankRaster") {
        step.outputs.push_back({"WerkbankRasterOutput", RasterText(table, arg(1)), {}, 0});
    } else if (name == "WerkbankInspect") {
        const Result<BinImage> image = SideImage(arg(1), content);
        step.outputs.push_back({"WerkbankInspectOutput",
                                image ? tool::InspectReportText(*image, kCrystalHz, false)
                                      : SideFailureText(image.Error(), arg(1)),
                                {},
                                0});
    } else if (name == "WerkbankDiff") {
        std::optional<std::span<const std::uint8_t>> first;
        std::optional<std::span<const std::uint8_t>> second;
        const auto size = static_cast<std::size_t>(TryStrToInt(arg(3)).value_or(-1));
        if (content && size <= content->size()) {
            first = content->first(size);
            second = content->subspan(size);
        }
        const Result<BinImage> a = SideImage(arg(1), first);
        const Result<BinImage> b = a ? SideImage(arg(2), second) : Result<BinImage>(a.Error());
        std::string text;
        if (!a || !b) {
            text = SideFailureText((a ? b : a).Error(), a ? arg(2) : arg(1));
        } else {
            const tool::DiffReport report = tool::CompareImages(*a, *b, kCrystalHz, false);
            text = report.differs ? report.text : "gleich\n";
        }
        step.outputs.push_back({"WerkbankDiffOutput", text, {}, 0});
    } else if (name == "WerkbankExport") {
        for (const ImageFormatEntry& entry : ImageFormatTable()) {
            if (entry.name != arg(1)) {
                continue;
            }
            const Result<BinImage> image = BuildBinImage(table);
            if (!image) {
                step.outputs.push_back({"WerkbankExportOutput",
                                        tool::ToolFailureReport(image.Error()).message,
                                        {},
                                        0});
                return;
            }
            const std::string encoded = EncodedImage(*image, entry.format);
            step.downloadName = std::string(kExportName) + std::string(entry.endings.front());
            step.downloadType = "application/octet-stream";
            step.downloadBytes.assign(encoded.begin(), encoded.end());
            step.outputs.push_back(
                {"WerkbankExportOutput", entry.format == ImageFormat::Bin ? "" : encoded, {}, 0});
        }
    }
}

}  // namespace vx40
