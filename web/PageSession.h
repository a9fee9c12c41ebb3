// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "channel/PrescalerSettings.h"
#include "text/FieldEdit.h"
#include "web/PageReply.h"

namespace vx40 {

// The fields a run of "Rechnen" reads, as the page holds them.
struct PageFields {
    std::string quarz;
    std::string r0;
    std::string r1;
    std::string r2;
    std::string frequency;
    bool modulator = kStartModulator;
    bool test = kStartTest;
};

// The window in the browser: the channel table, the kept selection codes and the loaded
// channel-set text live here; each handler of the page is one call that returns what the page
// shows. A runtime failure ("Division by zero", ...) escapes a handler as it escapes the window's;
// the module turns it into the failure report's step.
class PageSession {
  public:
    // The browser's separators for the frequency field's reading and format.
    void SetSeparators(char decimalSeparator, std::string groupSeparator);

    // The start texts of the fields and the lists of the prescaler boxes and image formats.
    PageReply Start() const;
    void FormActivate(PageReply& reply);

    // A key or gesture in one of the fields Quarz, R0_INPUT, R1_Input, R2_Input, FR_Input: kind
    // is the name of a FieldKey ("Text", "Enter", "Step", "Erase", "Paste", "Cut", "Other") or
    // "Drop"; typed is the typed or pasted text.
    void FieldKey(PageReply& reply, std::string_view id, std::string_view kind,
                  std::string_view typed, const FieldState& field) const;
    // The frequency field entered or left: its value in the display format.
    void FormatFrequency(PageReply& reply, std::string_view text) const;

    void RzButton1Click(PageReply& reply, const PageFields& fields);
    void loeschenClick(PageReply& reply);
    void Grid1Click(PageReply& reply, int column, int row, std::string_view frequency);
    // An arrow key in the table ("ArrowUp", ...): the current cell moves within the channel rows,
    // and a move clicks the table.
    void Grid1Key(PageReply& reply, std::string_view key, std::string_view frequency);
    void BinrdateiNFaktorzurckrechnen1Click(PageReply& reply);
    void Ende1Click(PageReply& reply) const;

    void Speichern1Click(PageReply& reply);
    // A file from the picker: its name and content, or none when the browser could not read it.
    void Laden1Click(PageReply& reply, const std::string& name,
                     std::optional<std::span<const std::uint8_t>> content);
    void BinLesenClick(PageReply& reply, const std::string& name,
                       std::optional<std::span<const std::uint8_t>> content);
    void BinDateierzeugen1Click(PageReply& reply);

    // A channel plan (its name, and its bytes or none when the browser could not read them)
    // calculated into the table as vx40-tool plan calculates it, with the fields' settings and
    // the kept selection codes as "Rechnen" reads them. A plan with a refused line or with no
    // channel changes nothing and says why in the Werkbank's output.
    void WerkbankPlanClick(PageReply& reply, const PageFields& fields, const std::string& name,
                           std::optional<std::span<const std::uint8_t>> content);

    // The cells that changed since the page was last told, and the current cell: also what a
    // handler changed before its failure.
    void ShowTable(PageStep& step);

    const ChannelTable& Table() const { return table_; }
    // The name of the loaded channel-set file, empty before a load.
    const std::string& ChannelSetName() const { return channelSetName_; }

  private:
    std::int32_t ReadFrequency(PageStep& step, std::string_view text) const;

    ChannelTable table_;
    SelectionCodes kept_;
    std::array<std::array<std::string, kColumnCount>, kRowCount> shown_{};
    int shownColumn_ = -1;
    int shownRow_ = -1;
    // The text of the loaded channel-set file: a save writes the 192 keys into it and keeps the
    // rest. Empty until a load.
    std::string channelSetText_;
    std::string channelSetName_;
    char decimalSeparator_ = ',';
    std::string groupSeparator_ = ".";
};

}  // namespace vx40
