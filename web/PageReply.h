// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx40 {

// A text for one element of the page; a field's text may carry the selection to set (UTF-16
// positions, start before end).
struct PageText {
    std::string id;
    std::string text;
    std::optional<std::size_t> selectionStart;
    std::size_t selectionEnd = 0;
};

struct PageCell {
    int column = 0;
    int row = 0;
    std::string text;
};

// One step of what the page shows after an event, applied in this order: the field texts, the
// cells, the current cell, the caption, the beep, the outputs, the download, and last the message
// or the failure report, whose dialog the page waits for before the next step.
struct PageStep {
    std::vector<PageText> fields;
    std::vector<PageCell> cells;
    std::optional<PageCell> current;
    std::optional<std::string> caption;
    bool beep = false;
    std::vector<PageText> outputs;
    std::optional<std::string> downloadName;
    std::string downloadType;
    std::vector<std::uint8_t> downloadBytes;
    std::optional<std::string> message;
    std::optional<std::string> failure;
    // A key the core has decided: the page must not handle it itself.
    bool prevent = false;
};

struct PageReply {
    std::vector<PageStep> steps;
    // Extra data: the lists of the prescaler boxes and the image formats, at start.
    std::vector<std::pair<std::string, std::vector<std::string>>> lists;

    PageStep& Step() {
        if (steps.empty()) {
            steps.emplace_back();
        }
        return steps.back();
    }
};

// The reply as JSON text. Texts that are not valid UTF-8 (a cell of a file in another encoding)
// show U+FFFD for each bad byte; the session keeps the bytes themselves. The download's bytes
// are not part of it.
std::string PageReplyJson(const PageReply& reply);

}  // namespace vx40
