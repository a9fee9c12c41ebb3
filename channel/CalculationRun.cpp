// SPDX-License-Identifier: GPL-3.0-or-later
#include "channel/CalculationRun.h"

#include "channel/CellText.h"
#include "channel/DividerCalculation.h"

namespace vx40 {

CalculationRun StartCalculation(ChannelTable& table, SelectionCodes& kept,
                                const CalculationFields& fields) {
    CalculationInputs inputs;
    inputs.crystalHz = fields.crystalHz;
    inputs.modulator = fields.modulator;
    inputs.test = fields.test;
    inputs.prescalers = ReadPrescalerTexts(fields.r0Text, fields.r1Text, fields.r2Text, kept);
    const std::int32_t ratio = CalculateRatio(inputs.crystalHz, inputs.prescalers);
    inputs.frequencyKhz = fields.readFrequencyKhz();

    kept = inputs.prescalers.codes;
    const Result<DividerWord> word = DividerWordAt(ratio, inputs);
    CalculationRun run;
    run.ratio = ratio;
    run.frequencyKhz = inputs.frequencyKhz;
    run.overallText = DecimalText(ratio);
    run.row = table.CurrentRow();
    run.texts = CalculatedRowTexts(word);
    table.RepaintNow();
    WriteRowParts(table, run.row, run.texts);
    if (!word) {
        run.message = CalculationFailureText(word.Error());
    }
    return run;
}

void FinishCalculation(ChannelTable& table, const CalculationRun& run) {
    WriteRowNibbles(table, run.row, run.texts);
}

}  // namespace vx40
