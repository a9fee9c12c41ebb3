// SPDX-License-Identifier: GPL-3.0-or-later
#include "web/PageReply.h"

#include <string_view>

namespace vx40 {
namespace {

// The length of the valid UTF-8 sequence at the start of text, 0 when it starts with none.
std::size_t ValidSequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

void AppendString(std::string& json, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    json += '"';
    while (!text.empty()) {
        const std::size_t length = ValidSequenceLength(text);
        const auto byte = static_cast<unsigned char>(text[0]);
        if (length == 0) {
            json += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += static_cast<char>(byte);
        } else if (byte < 0x20) {
            json += "\\u00";
            json += kHex[byte >> 4];
            json += kHex[byte & 0x0F];
        } else {
            json.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    json += '"';
}

void AppendTexts(std::string& json, std::string_view name, const std::vector<PageText>& texts) {
    json += ",\"";
    json += name;
    json += "\":[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const PageText& text = texts[i];
        json += i == 0 ? "[" : ",[";
        AppendString(json, text.id);
        json += ',';
        AppendString(json, text.text);
        if (text.selectionStart) {
            json += ',' + std::to_string(*text.selectionStart) + ',' +
                    std::to_string(text.selectionEnd);
        }
        json += ']';
    }
    json += ']';
}

void AppendCell(std::string& json, const PageCell& cell) {
    json += '[' + std::to_string(cell.column) + ',' + std::to_string(cell.row) + ',';
    AppendString(json, cell.text);
    json += ']';
}

void AppendOptional(std::string& json, std::string_view name,
                    const std::optional<std::string>& text) {
    if (text) {
        json += ",\"";
        json += name;
        json += "\":";
        AppendString(json, *text);
    }
}

void AppendStep(std::string& json, const PageStep& step) {
    json += step.prevent ? "{\"prevent\":true" : "{\"prevent\":false";
    if (step.beep) {
        json += ",\"beep\":true";
    }
    AppendTexts(json, "fields", step.fields);
    json += ",\"cells\":[";
    for (std::size_t i = 0; i < step.cells.size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        AppendCell(json, step.cells[i]);
    }
    json += ']';
    if (step.current) {
        json += ",\"current\":";
        AppendCell(json, *step.current);
    }
    AppendOptional(json, "caption", step.caption);
    AppendTexts(json, "outputs", step.outputs);
    if (step.downloadName) {
        json += ",\"download\":[";
        AppendString(json, *step.downloadName);
        json += ',';
        AppendString(json, step.downloadType);
        json += ']';
    }
    AppendOptional(json, "message", step.message);
    AppendOptional(json, "failure", step.failure);
    json += '}';
}

}  // namespace

std::string PageReplyJson(const PageReply& reply) {
    std::string json = "{\"steps\":[";
    for (std::size_t i = 0; i < reply.steps.size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        AppendStep(json, reply.steps[i]);
    }
    json += "],\"lists\":{";
    for (std::size_t i = 0; i < reply.lists.size(); ++i) {
        if (i > 0) {
            json += ',';
        }
        AppendString(json, reply.lists[i].first);
        json += ":[";
        for (std::size_t k = 0; k < reply.lists[i].second.size(); ++k) {
            if (k > 0) {
                json += ',';
            }
            AppendString(json, reply.lists[i].second[k]);
        }
        json += ']';
    }
    json += "}}";
    return json;
}

}  // namespace vx40
