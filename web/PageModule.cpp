// SPDX-License-Identifier: GPL-3.0-or-later
// The module's entry points: plain C functions on UTF-8 texts, which cost far less of the page
// than generated bindings. A call names the handler and its arguments; the reply is JSON text,
// a download's bytes wait beside it until the next call.
#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/RuntimeFailure.h"
#include "text/IntegerConversion.h"
#include "web/PageSession.h"
#include "web/WerkbankSession.h"

namespace {

vx40::PageSession session;
vx40::WerkbankSession werkbank;
std::string replyText;
std::vector<std::uint8_t> downloadBytes;

constexpr std::string_view kUnknownFailure = "Unbekannter Fehler";

int Number(std::string_view text) {
    return static_cast<int>(vx40::TryStrToInt(text).value_or(0));
}

vx40::FieldState FieldOf(std::string_view text, std::string_view start, std::string_view end) {
    vx40::FieldState field;
    field.text = std::string(text);
    const auto first = static_cast<std::size_t>(Number(start));
    const auto last = static_cast<std::size_t>(Number(end));
    field.selectionStart = first;
    field.selectionLength = last > first ? last - first : 0;
    field.caret = last;
    return field;
}

void Dispatch(vx40::PageReply& reply, const std::vector<std::string_view>& args,
              std::optional<std::span<const std::uint8_t>> content) {
    const std::string_view name = args[0];
    const auto arg = [&](std::size_t index) {
        return index < args.size() ? args[index] : std::string_view();
    };
    if (name == "start") {
        session.SetSeparators(arg(1).empty() ? ',' : arg(1)[0], std::string(arg(2)));
        reply = session.Start();
        werkbank.Start(reply);
    } else if (name == "FormActivate") {
        session.FormActivate(reply);
    } else if (name == "key") {
        session.FieldKey(reply, arg(1), arg(2), arg(3), FieldOf(arg(4), arg(5), arg(6)));
    } else if (name == "format") {
        session.FormatFrequency(reply, arg(1));
    } else if (name == "RzButton1Click") {
        vx40::PageFields fields{std::string(arg(1)), std::string(arg(2)), std::string(arg(3)),
                                std::string(arg(4)), std::string(arg(5)), arg(6) == "1",
                                arg(7) == "1"};
        session.RzButton1Click(reply, fields);
    } else if (name == "loeschenClick") {
        session.loeschenClick(reply);
    } else if (name == "Grid1Click") {
        session.Grid1Click(reply, Number(arg(1)), Number(arg(2)), arg(3));
    } else if (name == "Grid1Key") {
        session.Grid1Key(reply, arg(1), arg(2));
    } else if (name == "BinrdateiNFaktorzurckrechnen1Click") {
        session.BinrdateiNFaktorzurckrechnen1Click(reply);
    } else if (name == "Ende1Click") {
        session.Ende1Click(reply);
    } else if (name == "Speichern1Click") {
        session.Speichern1Click(reply);
    } else if (name == "Laden1Click") {
        session.Laden1Click(reply, std::string(arg(1)), content);
    } else if (name == "BinLesenClick") {
        session.BinLesenClick(reply, std::string(arg(1)), content);
    } else if (name == "BinDateierzeugen1Click") {
        session.BinDateierzeugen1Click(reply);
    } else if (name == "WerkbankPlan") {
        vx40::PageFields fields{
            std::string(arg(1)), std::string(arg(2)), std::string(arg(3)), std::string(arg(4)), {},
            arg(5) == "1",       arg(6) == "1"};
        session.WerkbankPlanClick(reply, fields, std::string(arg(7)), content);
    } else {
        werkbank.Call(reply, session.Table(), session.ChannelSetName(), args, content);
    }
}

}  // namespace

extern "C" {

// argv[0] names the handler; content is a file's bytes (a size below 0: there are none, because
// the browser could not read the file or the handler takes none).
const char* vx40_call(int argc, const char* const* argv, const std::uint8_t* content, int size) {
    std::vector<std::string_view> args;
    for (int i = 0; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    if (args.empty()) {
        args.emplace_back();
    }
    std::optional<std::span<const std::uint8_t>> file;
    if (size >= 0) {
        file = std::span<const std::uint8_t>(content, static_cast<std::size_t>(size));
    }
    vx40::PageReply reply;
    try {
        Dispatch(reply, args, file);
    } catch (const std::exception& failure) {
        session.ShowTable(reply.Step());
        reply.Step().failure = vx40::FailureReportText(failure.what());
    } catch (...) {
        session.ShowTable(reply.Step());
        reply.Step().failure = vx40::FailureReportText(kUnknownFailure);
    }
    downloadBytes.clear();
    for (vx40::PageStep& step : reply.steps) {
        if (step.downloadName) {
            downloadBytes = std::move(step.downloadBytes);
        }
    }
    replyText = vx40::PageReplyJson(reply);
    return replyText.c_str();
}

const std::uint8_t* vx40_download() {
    return downloadBytes.data();
}

int vx40_download_size() {
    return static_cast<int>(downloadBytes.size());
}
}
