// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/RasterReport.h"

#include "channel/CellText.h"
#include "tools/TableOutput.h"

namespace vx40::tool {
namespace {

TextRow RasterTextRow(const RasterRow& row) {
    std::string refused;
    for (const std::int32_t khz : row.refusedKhz) {
        if (!refused.empty()) {
            refused += " ";
        }
        refused += DecimalText(khz);
    }
    return {std::string(row.r0.text),
            std::string(row.r1.text),
            std::string(row.r2.text),
            DecimalText(row.ratio),
            DecimalText(static_cast<std::int64_t>(row.reached)),
            refused};
}

}  // namespace

std::string RasterReportText(const std::vector<RasterRow>& rows, bool csv) {
    std::vector<TextRow> printed;
    for (const RasterRow& row : rows) {
        printed.push_back(RasterTextRow(row));
    }
    return TableText({"R0", "R1", "R2", "Ratio", "Erreicht", "Abgelehnt"}, printed, csv);
}

}  // namespace vx40::tool
