// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include "channel/CalculatedRow.h"
#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "tools/FrequencyText.h"
#include "tools/InputFile.h"

namespace vx40::tool {

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

namespace {

void CalculatePlannedChannel(const PlannedChannel& planned, std::int32_t ratio,
                             CalculationInputs inputs, ChannelTable& table,
                             OffendingLines& offending) {
    inputs.frequencyKhz = planned.frequencyKhz;
    const Result<DividerWord> word = DividerWordAt(ratio, inputs);
    if (!word) {
        offending.Add(planned.where +
                      RefusalText(inputs.frequencyKhz,
                                  NearestAchievableFrequencies(ratio, inputs.frequencyKhz)));
    }
    table.SetCell(kFrequencyColumn, planned.channel, DecimalText(inputs.frequencyKhz));
    WriteCalculatedRow(table, planned.channel, CalculatedRowTexts(word));
}

}  // namespace

int CalculatePlan(const CalculationInputs& inputs, ChannelTable& table, OffendingLines& offending,
                  const std::function<void(PlanReader&)>& feed) {
    const std::int32_t ratio = CalculateRatio(inputs.crystalHz, inputs.prescalers);
    int channels = 0;
    PlanReader reader(
        [&](const PlannedChannel& planned) {
            ++channels;
            CalculatePlannedChannel(planned, ratio, inputs, table, offending);
        },
        offending);
    feed(reader);
    reader.Finish();
    return channels;
}

int CalculatePlanText(std::string_view text, const CalculationInputs& inputs, ChannelTable& table,
                      OffendingLines& offending) {
    return CalculatePlan(inputs, table, offending, [&](PlanReader& reader) { reader.Feed(text); });
}

}  // namespace vx40::tool
