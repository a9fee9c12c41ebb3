// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CalculationOptions.h"

#include <string>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "tools/FrequencyText.h"

namespace vx40::tool {
namespace {

// The crystal field holds whole numbers in its range only; the R texts, by contrast, are taken
// as typed and converted by the calculation itself.
CLI::Validator CrystalValidator() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const auto value = ParseDecimalInt32(text);
            if (!value || *value < kMinCrystalHz || *value > kMaxCrystalHz) {
                return "\"" + text + "\" ist keine ganze Zahl von " + DecimalText(kMinCrystalHz) +
                       " bis " + DecimalText(kMaxCrystalHz);
            }
            return {};
        },
        "", "crystal");
}

std::string Default(const std::string& text) {
    return " (Vorgabe " + text + ")";
}

}  // namespace

CalculationInputs CalculationOptions::ForFrequency(std::int32_t frequencyKhz) const {
    CalculationInputs run = inputs;
    run.modulator = !noModulator;
    run.frequencyKhz = frequencyKhz;
    return run;
}

void AddCalculationOptions(CLI::App& command, CalculationOptions& options) {
    CalculationInputs& inputs = options.inputs;
    AddCrystalOption(command, inputs.crystalHz);
    command.add_option("--r0", inputs.r0Text, "Vorteiler R0" + Default(inputs.r0Text))
        ->type_name("TEXT");
    command.add_option("--r1", inputs.r1Text, "Vorteiler R1" + Default(inputs.r1Text))
        ->type_name("TEXT");
    command.add_option("--r2", inputs.r2Text, "Vorteiler R2" + Default(inputs.r2Text))
        ->type_name("TEXT");
    command.add_flag("--no-modulator", options.noModulator,
                     "Modulator aus (Vorgabe: Modulator ein)");
    command.add_flag("--test", inputs.test, "Testfunktion ein (Vorgabe: aus)");
}

void AddCrystalOption(CLI::App& command, std::int32_t& crystalHz) {
    command
        .add_option("--crystal", crystalHz, "Quarzfrequenz in Hz" + Default(DecimalText(crystalHz)))
        ->type_name("HZ")
        ->check(CrystalValidator());
}

}  // namespace vx40::tool
