// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include "tools/InputFile.h"

namespace vx40::tool {

Status ReadPlanInput(const std::string& path, const PlanReader::ChannelHandler& onChannel,
                     OffendingLines& offending) {
    PlanReader reader(onChannel, offending);
    const Status read = ReadInputChunks(path, [&](std::string_view chunk) { reader.Feed(chunk); });
    if (read) {
        reader.Finish();
    }
    return read;
}

Result<PlanFrequencies> ReadPlanFrequencies(const std::string& path) {
    Status read;
    PlanFrequencies plan = CollectPlanFrequencies([&](PlanReader& reader) {
        read = ReadInputChunks(path, [&](std::string_view chunk) { reader.Feed(chunk); });
    });
    if (!read) {
        return read.Error();
    }
    return plan;
}

}  // namespace vx40::tool
