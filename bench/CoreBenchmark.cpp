// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include "BenchmarkTables.h"
#include "channel/CalculatedRow.h"
#include "channel/ChannelConstants.h"
#include "channel/ChannelTable.h"
#include "channel/DividerCalculation.h"
#include "channel/NFactorBackCalculation.h"

namespace {

using vx40::CalculationInputs;

void Calculate(benchmark::State& state, CalculationInputs inputs) {
    vx40::ChannelTable table;
    for (auto _ : state) {
        const auto result = vx40::CalculateDividerWord(inputs);
        vx40::WriteCalculatedRow(table, 1, vx40::CalculatedRowTexts(result.word));
        benchmark::DoNotOptimize(table.Cell(11, 1).data());
    }
}

CalculationInputs WithFrequency(std::int32_t khz, const char* r0 = "12", const char* r1 = "5",
                                const char* r2 = "2") {
    CalculationInputs inputs;
    inputs.frequencyKhz = khz;
    inputs.prescalers = vx40::ReadPrescalerTexts(r0, r1, r2, {});
    return inputs;
}

// The default channel, a refusal, and the longest search: N2 127, N1 127, N0 127 on the coarsest
// list step (R0 15, R1 7, R2 8: 1785 Hz).
BENCHMARK_CAPTURE(Calculate, default_channel, WithFrequency(798300));
BENCHMARK_CAPTURE(Calculate, refused, WithFrequency(798305));
BENCHMARK_CAPTURE(Calculate, worst_search, [] {
    CalculationInputs inputs = WithFrequency(0, "15", "7", "8");
    inputs.frequencyKhz = 3743338;  // 1785 Hz * 2097151 = 3743314535 Hz, close to the top
    return inputs;
}());

void SixteenRows(benchmark::State& state) {
    vx40::ChannelTable table;
    for (auto _ : state) {
        vx40::bench::CalculateRows(table);
        benchmark::DoNotOptimize(table.Cell(vx40::kLastNibbleColumn, 16).data());
    }
}
BENCHMARK(SixteenRows);

void BackCalculation(benchmark::State& state) {
    vx40::ChannelTable table = vx40::bench::CalculatedTable();
    for (auto _ : state) {
        vx40::BackCalculateNFactors(table);
        benchmark::DoNotOptimize(table.Cell(vx40::kFrequencyColumn, 16).data());
    }
}
BENCHMARK(BackCalculation);

}  // namespace

BENCHMARK_MAIN();
