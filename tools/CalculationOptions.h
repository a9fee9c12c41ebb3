// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "channel/DividerCalculation.h"

namespace CLI {
class App;
}

namespace vx40::tool {

// The settings of "Rechnen" as options; what is not given keeps the window's start value.
struct CalculationOptions {
    CalculationInputs inputs;
    bool noModulator = false;

    // The inputs of one run for a frequency.
    CalculationInputs ForFrequency(std::int32_t frequencyKhz) const;
};

void AddCalculationOptions(CLI::App& command, CalculationOptions& options);

// The crystal option alone, for the commands that take no other setting of "Rechnen".
void AddCrystalOption(CLI::App& command, std::int32_t& crystalHz);

}  // namespace vx40::tool
