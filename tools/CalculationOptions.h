// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "channel/DividerCalculation.h"

namespace CLI {
class App;
}

namespace vx40::tool {

// The settings of "Rechnen" as options; what is not given keeps the window's start value.
struct CalculationOptions {
    std::int32_t crystalHz = kCrystalHz;
    std::string r0Text{kR0StartText};
    std::string r1Text{kR1StartText};
    std::string r2Text{kR2StartText};
    bool noModulator = false;
    bool test = kStartTest;

    // The inputs of the runs, their frequency aside. The prescaler texts convert as the window's
    // do; each is an entry of its list, so no run has codes of an earlier one to keep.
    CalculationInputs Inputs() const;
};

void AddCalculationOptions(CLI::App& command, CalculationOptions& options);

// The crystal option alone, for the commands that take no other setting of "Rechnen".
void AddCrystalOption(CLI::App& command, std::int32_t& crystalHz);

}  // namespace vx40::tool
