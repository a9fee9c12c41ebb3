// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/PageSession.h"

#include <algorithm>
#include <cerrno>
#include <utility>
#include <vector>

#include "base/RuntimeFailure.h"
#include "channel/CalculationRun.h"
#include "channel/CellText.h"
#include "channel/NFactorBackCalculation.h"
#include "channel/Prescalers.h"
#include "files/BinRead.h"
#include "files/ChannelSetFile.h"
#include "files/FileFailureText.h"
#include "files/ImageReader.h"
#include "files/ImageWriter.h"
#include "text/CrystalFieldRules.h"
#include "text/FrequencyFieldRules.h"
#include "text/IntegerConversion.h"
#include "text/ItemCompletion.h"
#include "text/NumericEditText.h"
#include "tools/FrequencyPlan.h"
#include "tools/FrequencyText.h"
#include "tools/InspectReport.h"
#include "tools/ToolFailure.h"

namespace vx40 {
namespace {

constexpr std::string_view kChannelSetDownload = "VX40.vx4";
constexpr std::string_view kImageDownload = "VX40.bin";
// A plan that names no channel would empty the whole table.
constexpr std::string_view kEmptyPlan =
    "Der Plan nennt keinen Kanal: die Tabelle bleibt, wie sie war.\n";
// A page cannot close its own tab: "Ende" leaves the table as it is and says so.
constexpr std::string_view kEndMessage =
    "Im Browser endet VX40, wenn Sie die Seite schließen.\r"
    "Es wurde nichts gespeichert und nichts gelöscht:\r"
    "sichern Sie die Tabelle vorher mit \"Speichern\".";

std::vector<std::string> ItemTexts(const PrescalerList& list) {
    std::vector<std::string> items;
    for (const PrescalerEntry& entry : list) {
        items.emplace_back(entry.text);
    }
    return items;
}

const PrescalerList* PrescalerListOf(std::string_view id) {
    if (id == "R0_INPUT") {
        return &kR0Entries;
    }
    if (id == "R1_Input") {
        return &kR1Entries;
    }
    if (id == "R2_Input") {
        return &kR2Entries;
    }
    return nullptr;
}

std::optional<vx40::FieldKey> FieldKeyNamed(std::string_view kind) {
    using Key = vx40::FieldKey;
    constexpr std::pair<std::string_view, Key> kKeys[] = {
        {"Text", Key::Text},   {"Enter", Key::Enter}, {"Step", Key::Step},  {"Erase", Key::Erase},
        {"Paste", Key::Paste}, {"Cut", Key::Cut},     {"Other", Key::Other}};
    for (const auto& [name, key] : kKeys) {
        if (name == kind) {
            return key;
        }
    }
    return std::nullopt;
}

void ApplyEdit(PageStep& step, std::string_view id, const FieldEdit& edit) {
    step.prevent = true;
    step.beep = edit.beep;
    if (edit.changes) {
        const FieldState& after = edit.after;
        step.fields.push_back({std::string(id), after.text, after.selectionStart,
                               after.selectionStart + after.selectionLength});
        if (after.selectionLength == 0) {
            step.fields.back().selectionStart = after.caret;
            step.fields.back().selectionEnd = after.caret;
        }
    }
}

void ApplyAnswer(PageStep& step, KeyAnswer answer) {
    step.prevent = answer == KeyAnswer::Beep || answer == KeyAnswer::Ignore;
    step.beep = answer == KeyAnswer::Beep;
}

}  // namespace

void PageSession::SetSeparators(char decimalSeparator, std::string groupSeparator) {
    decimalSeparator_ = decimalSeparator;
    groupSeparator_ = std::move(groupSeparator);
}

PageReply PageSession::Start() const {
    PageReply reply;
    PageStep& step = reply.Step();
    step.fields = {
        {"Quarz", DecimalText(kCrystalHz), {}, 0},
        {"R0_INPUT", std::string(kR0StartText), {}, 0},
        {"R1_Input", std::string(kR1StartText), {}, 0},
        {"R2_Input", std::string(kR2StartText), {}, 0},
        {"Edit1", std::string(kFixedDividerText), {}, 0},
        {"Overall", "", {}, 0},
        {"FR_Input",
         FormatNumericEditValue(static_cast<double>(kStartFrequencyKhz), groupSeparator_),
         {},
         0},
        {"Modulator", kStartModulator ? "1" : "", {}, 0},
        {"Testfunktion", kStartTest ? "1" : "", {}, 0}};
    step.caption = std::string(kWindowCaption);
    reply.lists = {{"R0_INPUT", ItemTexts(kR0Entries)},
                   {"R1_Input", ItemTexts(kR1Entries)},
                   {"R2_Input", ItemTexts(kR2Entries)}};
    return reply;
}

void PageSession::FormActivate(PageReply& reply) {
    table_.WriteHeaderRow();
    ShowTable(reply.Step());
}

void PageSession::FieldKey(PageReply& reply, std::string_view id, std::string_view kind,
                           std::string_view typed, const FieldState& field) const {
    PageStep& step = reply.Step();
    const std::optional<vx40::FieldKey> key = FieldKeyNamed(kind);
    if (id == "Quarz") {
        // A drop would change the text like a typed character.
        ApplyAnswer(step, key ? CrystalFieldAnswer(*key) : KeyAnswer::Beep);
        return;
    }
    if (id == "FR_Input") {
        if (!key) {
            // A dropped text would pass both the filter and the length limit.
            ApplyAnswer(step, KeyAnswer::Beep);
            return;
        }
        const KeyAnswer answer = FrequencyFieldAnswer(*key);
        if (answer != KeyAnswer::Rule) {
            ApplyAnswer(step, answer);
        } else if (*key == vx40::FieldKey::Paste) {
            ApplyEdit(step, id, PasteIntoFrequencyField(field, typed, false));
        } else {
            ApplyEdit(step, id, TypeIntoFrequencyField(field, typed));
        }
        return;
    }
    if (const PrescalerList* list = PrescalerListOf(id);
        list != nullptr && key == vx40::FieldKey::Text) {
        if (const std::optional<FieldEdit> edit =
                CompleteFromItems(field, typed, ItemTexts(*list))) {
            ApplyEdit(step, id, *edit);
        }
    }
}

std::int32_t PageSession::ReadFrequency(PageStep& step, std::string_view text) const {
    const NumericFieldValue read = ReadNumericFieldValue(text, decimalSeparator_);
    if (read.textToZero) {
        step.fields.push_back({"FR_Input", "0", {}, 0});
    }
    step.beep = step.beep || read.beep;
    return RoundHalfEvenToInt32(read.value).value_or(0);
}

void PageSession::FormatFrequency(PageReply& reply, std::string_view text) const {
    PageStep& step = reply.Step();
    const NumericFieldValue read = ReadNumericFieldValue(text, decimalSeparator_);
    step.beep = read.beep;
    step.fields.push_back({"FR_Input", FormatNumericEditValue(read.value, groupSeparator_), {}, 0});
}

void PageSession::RzButton1Click(PageReply& reply, const PageFields& fields) {
    PageStep& step = reply.Step();
    CalculationFields run;
    // The window's crystal field holds an integer; the page's holds its text.
    run.crystalHz = StrToInt(fields.quarz);
    run.r0Text = fields.r0;
    run.r1Text = fields.r1;
    run.r2Text = fields.r2;
    run.modulator = fields.modulator;
    run.test = fields.test;
    run.readFrequencyKhz = [&] { return ReadFrequency(step, fields.frequency); };
    const CalculationRun started = StartCalculation(table_, kept_, run);
    step.fields.push_back({"Overall", started.overallText, {}, 0});
    ShowTable(step);
    step.message = started.message;
    step.outputs.push_back(
        {"WerkbankNearestOutput",
         started.message
             ? tool::RefusalText(started.frequencyKhz,
                                 NearestAchievableFrequencies(started.ratio, started.frequencyKhz))
             : std::string(),
         {},
         0});
    FinishCalculation(table_, started);
    ShowTable(reply.steps.emplace_back());
}

void PageSession::loeschenClick(PageReply& reply) {
    table_.Clear();
    ShowTable(reply.Step());
}

void PageSession::Grid1Click(PageReply& reply, int column, int row, std::string_view frequency) {
    // Only a channel cell takes a click; the header row does not.
    if (column < 0 || column >= kColumnCount || row < 1 || row >= kRowCount) {
        return;
    }
    PageStep& step = reply.Step();
    table_.SetCurrentCell(column, row);
    table_.FrequencyPickUp(ReadFrequency(step, frequency));
    ShowTable(step);
}

void PageSession::Grid1Key(PageReply& reply, std::string_view key, std::string_view frequency) {
    int column = table_.CurrentColumn();
    int row = table_.CurrentRow();
    if (key == "ArrowUp") {
        row = std::max(row - 1, 1);
    } else if (key == "ArrowDown") {
        row = std::min(row + 1, kRowCount - 1);
    } else if (key == "ArrowLeft") {
        column = std::max(column - 1, 0);
    } else if (key == "ArrowRight") {
        column = std::min(column + 1, kColumnCount - 1);
    }
    if (column != table_.CurrentColumn() || row != table_.CurrentRow()) {
        Grid1Click(reply, column, row, frequency);
    }
}

void PageSession::BinrdateiNFaktorzurckrechnen1Click(PageReply& reply) {
    BackCalculateNFactors(table_);
    ShowTable(reply.Step());
}

void PageSession::Ende1Click(PageReply& reply) const {
    reply.Step().message = std::string(kEndMessage);
}

void PageSession::Speichern1Click(PageReply& reply) {
    const std::string name =
        channelSetName_.empty() ? std::string(kChannelSetDownload) : channelSetName_;
    const Result<std::string> text = ChannelSetText(table_, channelSetText_);
    if (!text) {
        // The window's store reports a text it cannot write as a failed write.
        throw IniWriteFailure(name);
    }
    PageStep& step = reply.Step();
    step.downloadName = name;
    step.downloadType = "application/octet-stream";
    step.downloadBytes.assign(text->begin(), text->end());
}

void PageSession::Laden1Click(PageReply& reply, const std::string& name,
                              std::optional<std::span<const std::uint8_t>> content) {
    PageStep& step = reply.Step();
    step.caption = std::string(kWindowCaption);
    if (!content) {
        // Reading would empty the table: the load does not start.
        step.message = ChannelSetLoadRefusal(Failure(FailureKind::ReadFailed, EIO, name));
        return;
    }
    channelSetText_.assign(content->begin(), content->end());
    channelSetName_ = name;
    step.caption = std::string(kWindowCaption) + ' ' + name;
    // A file of other text loads as empty cells: the window takes any file it was given.
    static_cast<void>(LoadChannelSetText(table_, channelSetText_));
    ShowTable(step);
}

void PageSession::BinLesenClick(PageReply& reply, const std::string& name,
                                std::optional<std::span<const std::uint8_t>> content) {
    const Result<BinImage> read =
        content ? ReadImage(*content, ImageContent::BinOnly)
                : Result<BinImage>(Failure(FailureKind::ReadFailed, EIO, name));
    PageStep& step = reply.Step();
    step.message = ApplyBinRead(table_, read, name);
    ShowTable(step);
    if (read) {
        step.outputs.push_back(
            {"WerkbankChecksumOutput", tool::FileChecksumsText(name, *read) + '\n', {}, 0});
    }
}

void PageSession::BinDateierzeugen1Click(PageReply& reply) {
    PageStep& step = reply.Step();
    const Result<BinImage> image = BuildBinImage(table_);
    if (!image) {
        step.message = ImageFailureText(image.Error(), std::string(kImageDownload));
        return;
    }
    step.downloadName = std::string(kImageDownload);
    step.downloadType = "application/octet-stream";
    step.downloadBytes.assign(image->begin(), image->end());
    step.outputs.push_back(
        {"WerkbankChecksumOutput", tool::FileChecksumsText(kImageDownload, *image) + '\n', {}, 0});
}

void PageSession::WerkbankPlanClick(PageReply& reply, const PageFields& fields,
                                    const std::string& name,
                                    std::optional<std::span<const std::uint8_t>> content) {
    PageStep& step = reply.Step();
    const auto show = [&](std::string text) {
        step.outputs.push_back({"WerkbankPlanOutput", std::move(text), {}, 0});
    };
    if (!content) {
        show(tool::ToolFailureReport(Failure(FailureKind::ReadFailed, EIO, name)).message);
        return;
    }
    CalculationInputs inputs;
    inputs.crystalHz = StrToInt(fields.quarz);
    inputs.prescalers = ReadPrescalerTexts(fields.r0, fields.r1, fields.r2, kept_);
    inputs.modulator = fields.modulator;
    inputs.test = fields.test;
    ChannelTable planned;
    OffendingLines offending;
    const int channels = tool::CalculatePlanText(
        std::string_view(reinterpret_cast<const char*>(content->data()), content->size()), inputs,
        planned, offending);
    if (!offending.Empty()) {
        show(offending.Text());
        return;
    }
    if (channels == 0) {
        show(std::string(kEmptyPlan));
        return;
    }
    for (int row = 1; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            table_.SetCell(column, row, planned.Cell(column, row));
        }
    }
    show("");
    ShowTable(step);
}

void PageSession::ShowTable(PageStep& step) {
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            std::string& shown =
                shown_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
            if (shown != table_.Cell(column, row)) {
                shown = table_.Cell(column, row);
                step.cells.push_back({column, row, shown});
            }
        }
    }
    if (shownColumn_ != table_.CurrentColumn() || shownRow_ != table_.CurrentRow()) {
        shownColumn_ = table_.CurrentColumn();
        shownRow_ = table_.CurrentRow();
        step.current = PageCell{shownColumn_, shownRow_, {}};
    }
}

}  // namespace vx40
