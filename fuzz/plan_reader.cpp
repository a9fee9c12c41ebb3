// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstddef>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

#include "channel/ChannelConstants.h"
#include "channel/FrequencyPlan.h"
#include "fuzz/FuzzCheck.h"

namespace {

struct ReadPlan {
    std::map<int, std::int32_t> channels;
    std::string messages;
};

// The plan read in pieces of chunk bytes; every channel is handed over once, within 1 to 16.
ReadPlan Read(std::string_view text, std::size_t chunk) {
    ReadPlan plan;
    vx40::OffendingLines offending;
    vx40::PlanReader reader(
        [&](const vx40::PlannedChannel& planned) {
            VX40_FUZZ_CHECK(planned.channel >= 1 && planned.channel <= vx40::kChannelCount);
            VX40_FUZZ_CHECK(plan.channels.emplace(planned.channel, planned.frequencyKhz).second);
        },
        offending);
    for (std::size_t at = 0; at < text.size(); at += chunk) {
        reader.Feed(text.substr(at, chunk));
    }
    reader.Finish();
    std::ostringstream printed;
    printed << offending.Text();
    plan.messages = printed.str();
    return plan;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ReadPlan whole = Read(text, text.size() + 1);
    // However the reads of a file split it, the plan is the same.
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{5}}) {
        const ReadPlan pieces = Read(text, chunk);
        VX40_FUZZ_CHECK(pieces.channels == whole.channels);
        VX40_FUZZ_CHECK(pieces.messages == whole.messages);
    }
    return 0;
}
