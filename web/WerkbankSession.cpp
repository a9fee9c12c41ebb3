// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/WerkbankSession.h"

#include <cerrno>
#include <string>
#include <utility>

#include "channel/ChannelConstants.h"
#include "channel/FrequencyPlan.h"
#include "channel/PrescalerRaster.h"
#include "files/BinImage.h"
#include "files/ChannelSetFile.h"
#include "files/ChannelSheet.h"
#include "files/ChipImage.h"
#include "files/ImageFormats.h"
#include "files/ImageReader.h"
#include "text/CharacterRules.h"
#include "text/IntegerConversion.h"
#include "tools/DiffReport.h"
#include "tools/InputFile.h"
#include "tools/InspectReport.h"
#include "tools/RasterReport.h"
#include "tools/ToolFailure.h"

namespace vx40 {
namespace {

constexpr std::string_view kNoFrequencies =
    "Keine Frequenz: die Liste und die Spalte \"Frequenz\" der Tabelle sind leer.";
constexpr std::string_view kExportName = "VX40";
// Not "VX40.html": beside the page itself, on a file system that ignores case, it would be the
// page.
constexpr std::string_view kSheetDownload = "VX40-Blatt.html";

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

// A side as the tool reads it: the image and the bytes read, the whole chip where an offset is
// given (none for a channel-set file).
struct SideRead {
    BinImage image{};
    std::vector<std::uint8_t> bytes;
};

// A file as an image: a channel-set file as the image it encodes to, any other as an image of
// any format, or with an offset as a chip read back holding it there.
Result<SideRead> SideImage(const std::string& name,
                           std::optional<std::span<const std::uint8_t>> content,
                           std::optional<std::size_t> offset) {
    if (!content) {
        return Failure(FailureKind::ReadFailed, EIO, name);
    }
    if (tool::IsChannelSetPath(name)) {
        ChannelTable table;
        const std::string text(content->begin(), content->end());
        if (!LoadChannelSetText(table, text)) {
            return Failure(FailureKind::NoChannelSet, 0, name);
        }
        const Result<BinImage> built = BuildBinImage(table);
        return built ? Result<SideRead>(SideRead{*built, {}}) : built.Error();
    }
    if (!offset) {
        const Result<BinImage> image = ReadImage(*content);
        return image ? Result<SideRead>(SideRead{*image, {image->begin(), image->end()}})
                     : image.Error();
    }
    Result<std::vector<std::uint8_t>> chip = ReadChipImage(*content, kBlankChipByte);
    if (!chip) {
        return chip.Error();
    }
    const Result<BinImage> image = ImageInChip(*chip, *offset);
    return image ? Result<SideRead>(SideRead{*image, std::move(chip).Value()}) : image.Error();
}

// The offset of a chip read back: none for a blank field.
Result<std::optional<std::size_t>> ReadOffset(std::string_view text) {
    if (IsBlank(text)) {
        return std::optional<std::size_t>();
    }
    const Result<std::size_t> offset = ChipOffsetValue(text);
    return offset ? Result<std::optional<std::size_t>>(*offset) : offset.Error();
}

// The bytes of a chip side outside its image that are not the fill, as a line, or nothing.
// The chip the export fields describe; blank fields keep the image alone, the blank byte and
// address 0.
Result<ChipLayout> ExportLayout(std::string_view size, std::string_view fill,
                                std::string_view offset) {
    ChipLayout layout;
    if (!IsBlank(size)) {
        const Result<std::size_t> value = ChipSizeValue(size);
        if (!value) {
            return value.Error();
        }
        layout.size = *value;
    }
    if (!IsBlank(fill)) {
        const Result<std::uint8_t> value = ChipFillValue(fill);
        if (!value) {
            return value.Error();
        }
        layout.fill = *value;
    }
    if (!IsBlank(offset)) {
        const Result<std::size_t> value = ChipOffsetValue(offset);
        if (!value) {
            return value.Error();
        }
        layout.offset = *value;
    }
    if (const Status fits = CheckChipLayout(layout); !fits) {
        return fits.Error();
    }
    return layout;
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
    const PlanFrequencies plan = ReadPlanFrequencies(std::string_view(text));
    if (!plan.offending.Empty()) {
        return plan.offending.Text();
    }
    if (plan.frequenciesKhz.empty()) {
        return std::string(kNoFrequencies);
    }
    return tool::RasterReportText(PrescalerRaster(kCrystalHz, plan.frequenciesKhz), false);
}

// One call of the bench: its arguments, the file content that came with it, and the step that
// shows its results.
struct WerkbankCall {
    PageStep& step;
    const ChannelTable& table;
    std::string_view tableName;
    const std::vector<std::string_view>& args;
    std::optional<std::span<const std::uint8_t>> content;

    std::string Arg(std::size_t index) const {
        return index < args.size() ? std::string(args[index]) : std::string();
    }
    void Show(std::string_view id, std::string text) const {
        step.outputs.push_back({std::string(id), std::move(text), {}, 0});
    }
};

void Raster(const WerkbankCall& call) {
    call.Show("WerkbankRasterOutput", RasterText(call.table, call.Arg(1)));
}

void Inspect(const WerkbankCall& call) {
    const Result<std::optional<std::size_t>> offset = ReadOffset(call.Arg(2));
    if (!offset) {
        call.Show("WerkbankInspectOutput", offset.Error().detail + '\n');
        return;
    }
    const Result<SideRead> read = SideImage(call.Arg(1), call.content, *offset);
    if (!read) {
        call.Show("WerkbankInspectOutput", SideFailureText(read.Error(), call.Arg(1)));
        return;
    }
    // A channel-set file has no bytes of its own: the checksums are those of its image.
    const std::span<const std::uint8_t> bytes =
        read->bytes.empty() ? std::span<const std::uint8_t>(read->image) : read->bytes;
    call.Show("WerkbankInspectOutput",
              tool::InspectReportText(read->image, kCrystalHz, false) + tool::ChecksumsLine(bytes) +
                  '\n' + tool::ChipRestLine("", read->bytes, offset->value_or(0), kBlankChipByte));
}

void Diff(const WerkbankCall& call) {
    const Result<std::optional<std::size_t>> offset = ReadOffset(call.Arg(4));
    if (!offset) {
        call.Show("WerkbankDiffOutput", offset.Error().detail + '\n');
        return;
    }
    std::optional<std::span<const std::uint8_t>> first;
    std::optional<std::span<const std::uint8_t>> second;
    const auto size = static_cast<std::size_t>(TryStrToInt(call.Arg(3)).value_or(-1));
    if (call.content && size <= call.content->size()) {
        first = call.content->first(size);
        second = call.content->subspan(size);
    }
    const Result<SideRead> a = SideImage(call.Arg(1), first, *offset);
    const Result<SideRead> b =
        a ? SideImage(call.Arg(2), second, *offset) : Result<SideRead>(a.Error());
    if (!a || !b) {
        call.Show("WerkbankDiffOutput",
                  SideFailureText((a ? b : a).Error(), a ? call.Arg(2) : call.Arg(1)));
        return;
    }
    const tool::DiffReport report = tool::CompareImages(a->image, b->image, kCrystalHz, false);
    std::string text = report.differs ? report.text : "gleich\n";
    text += tool::ChipRestLine("A: ", a->bytes, offset->value_or(0), kBlankChipByte) +
            tool::ChipRestLine("B: ", b->bytes, offset->value_or(0), kBlankChipByte);
    for (const auto& [sideName, side] :
         {std::pair{call.Arg(1), &*a}, std::pair{call.Arg(2), &*b}}) {
        if (!side->bytes.empty()) {
            text += tool::FileChecksumsText(sideName, side->bytes) + '\n';
        }
    }
    call.Show("WerkbankDiffOutput", text);
}

void Export(const WerkbankCall& call) {
    const ImageFormatEntry* format = nullptr;
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        if (entry.name == call.Arg(1)) {
            format = &entry;
        }
    }
    if (format == nullptr) {
        return;
    }
    const Result<ChipLayout> layout = ExportLayout(call.Arg(2), call.Arg(3), call.Arg(4));
    if (!layout) {
        call.Show("WerkbankExportOutput", layout.Error().detail + '\n');
        return;
    }
    const Result<std::vector<std::uint8_t>> chip = ChipBytesOfTable(call.table, *layout);
    if (!chip) {
        call.Show("WerkbankExportOutput", tool::ToolFailureReport(chip.Error()).message);
        return;
    }
    const std::string encoded = EncodedBytes(*chip, format->format);
    PageStep& step = call.step;
    step.downloadName = std::string(kExportName) + std::string(format->endings.front());
    step.downloadType = "application/octet-stream";
    step.downloadBytes.assign(encoded.begin(), encoded.end());
    call.Show("WerkbankExportOutput", (format->format == ImageFormat::Bin ? "" : encoded) +
                                          tool::FileChecksumsText(*step.downloadName, *chip) +
                                          '\n');
}

void Sheet(const WerkbankCall& call) {
    const SheetHeading heading{
        call.tableName.empty() ? std::string(kExportName) : std::string(call.tableName),
        SheetDateText(StrToInt(call.Arg(2)), StrToInt(call.Arg(3)), StrToInt(call.Arg(4))),
        StrToInt(call.Arg(1))};
    const Result<std::string> sheet = ChannelSheetHtml(call.table, heading);
    if (!sheet) {
        call.Show("WerkbankSheetOutput", tool::ToolFailureReport(sheet.Error()).message);
        return;
    }
    call.Show("WerkbankSheetOutput", "");
    if (call.Arg(5) == "print") {
        call.Show("WerkbankSheetFrame", *sheet);
        return;
    }
    call.step.downloadName = std::string(kSheetDownload);
    call.step.downloadType = "text/html";
    call.step.downloadBytes.assign(sheet->begin(), sheet->end());
}

constexpr std::pair<std::string_view, void (*)(const WerkbankCall&)> kWerkbankHandlers[] = {
    {"WerkbankRaster", Raster}, {"WerkbankInspect", Inspect}, {"WerkbankDiff", Diff},
    {"WerkbankExport", Export}, {"WerkbankSheet", Sheet},
};

}  // namespace

void WerkbankSession::Start(PageReply& reply) const {
    std::vector<std::string> names;
    for (const ImageFormatEntry& entry : ImageFormatTable()) {
        names.emplace_back(entry.name);
    }
    reply.lists.emplace_back("WerkbankFormat", std::move(names));
}

void WerkbankSession::Call(PageReply& reply, const ChannelTable& table, std::string_view tableName,
                           const std::vector<std::string_view>& args,
                           std::optional<std::span<const std::uint8_t>> content) const {
    const WerkbankCall call{reply.Step(), table, tableName, args, content};
    for (const auto& [name, handler] : kWerkbankHandlers) {
        if (name == args[0]) {
            handler(call);
        }
    }
}

}  // namespace vx40
