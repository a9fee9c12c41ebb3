// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/CalculationOptions.h"

#include <string>

#include <CLI/App.hpp>

#include "channel/CellText.h"
#include "channel/ChannelConstants.h"
#include "channel/Prescalers.h"
#include "tools/FrequencyPlan.h"
#include "tools/FrequencyText.h"

namespace vx40::tool {
namespace {

// The crystal field holds whole numbers in its range only.
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

std::string ListText(const PrescalerList& list) {
    std::string text;
    for (const PrescalerEntry& entry : list) {
        text += (text.empty() ? "" : ", ") + std::string(entry.text);
    }
    return text;
}

// Only the texts of the list. The window keeps the last select codes for a text off its list, so
// that " 15" divides by 15 while the image says R0 12; the tool has no earlier calculation whose
// codes the user could mean, and such an image would contradict its own ratio.
CLI::Validator PrescalerValidator(const PrescalerList& list) {
    return CLI::Validator(
        [&list](std::string& text) -> std::string {
            if (FindPrescalerByText(list, text)) {
                return {};
            }
            return "\"" + ShownPlanLine(text) + "\" ist kein Eintrag der Liste " + ListText(list);
        },
        "", "prescaler");
}

void AddPrescalerOption(CLI::App& command, const char* option, const char* name,
                        const PrescalerList& list, std::string& text) {
    command
        .add_option(option, text,
                    std::string("Vorteiler ") + name + ": " + ListText(list) + Default(text))
        ->type_name("TEXT")
        ->check(PrescalerValidator(list));
}

}  // namespace

CalculationInputs CalculationOptions::Inputs() const {
    CalculationInputs inputs;
    inputs.crystalHz = crystalHz;
    inputs.prescalers = ReadPrescalerTexts(r0Text, r1Text, r2Text, SelectionCodes{});
    inputs.modulator = !noModulator;
    inputs.test = test;
    return inputs;
}

void AddCalculationOptions(CLI::App& command, CalculationOptions& options) {
    AddCrystalOption(command, options.crystalHz);
    AddPrescalerOption(command, "--r0", "R0", kR0Entries, options.r0Text);
    AddPrescalerOption(command, "--r1", "R1", kR1Entries, options.r1Text);
    AddPrescalerOption(command, "--r2", "R2", kR2Entries, options.r2Text);
    command.add_flag("--no-modulator", options.noModulator,
                     "Modulator aus (Vorgabe: Modulator ein)");
    command.add_flag("--test", options.test, "Testfunktion ein (Vorgabe: aus)");
}

void AddCrystalOption(CLI::App& command, std::int32_t& crystalHz) {
    command
        .add_option("--crystal", crystalHz, "Quarzfrequenz in Hz" + Default(DecimalText(crystalHz)))
        ->type_name("HZ")
        ->check(CrystalValidator());
}

}  // namespace vx40::tool
