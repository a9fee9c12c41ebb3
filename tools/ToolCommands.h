#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "files/EpromFormats.h"
#include "tools/CalculationOptions.h"

namespace vx40::tool {

// Each command returns its exit code. A wrong argument or a file error raises ToolError, a
// failure of the calculation or of an INI write a RuntimeFailure; the caller reports both.

struct CalcArguments {
    CalculationOptions calculation;
    bool csv = false;
    std::vector<std::string> frequencies;
};
int RunCalc(const CalcArguments& arguments, std::ostream& out, std::ostream& err);

struct PlanArguments {
    CalculationOptions calculation;
    std::string planPath;
    std::string binPath;
    std::string vx4Path;  // empty: no channel-set file
    ImageFormat format = ImageFormat::Bin;
};
int RunPlan(const PlanArguments& arguments, std::ostream& out, std::ostream& err);

struct ReadArguments {
    bool csv = false;
    std::string inputPath;
};
int RunDecode(const ReadArguments& arguments, std::ostream& out, std::ostream& err);
int RunShow(const ReadArguments& arguments, std::ostream& out, std::ostream& err);

struct EncodeArguments {
    std::string inputPath;
    std::string binPath;
    ImageFormat format = ImageFormat::Bin;
};
int RunEncode(const EncodeArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace vx40::tool
