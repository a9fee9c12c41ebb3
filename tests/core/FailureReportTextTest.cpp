// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>

#include "base/RuntimeFailure.h"

namespace vx40 {
namespace {

struct ReportCase {
    std::string message;
    std::string shown;
};

class FailureReportTextTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(FailureReportTextTest, AppendsAPeriodOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(FailureReportText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FailureReportTextTest,
    ::testing::Values(
        ReportCase{"Division by zero", "Division by zero."},
        ReportCase{"'x' is not a valid integer value", "'x' is not a valid integer value."},
        ReportCase{"Unable to write to /tmp/a.vx4", "Unable to write to /tmp/a.vx4."},
        // "/" (0x2F) is the first character after "."; "-" (0x2D) comes before it.
        ReportCase{"ends in /", "ends in /."}, ReportCase{"ends in -", "ends in -"},
        ReportCase{"ends in .", "ends in ."}, ReportCase{"(ends in )", "(ends in )"},
        ReportCase{"ends in blank ", "ends in blank "},
        ReportCase{"'' is not a valid integer value", "'' is not a valid integer value."},
        // A byte above 0x7F counts by its unsigned value, as the last byte of "ä" does.
        ReportCase{"Datei f\xC3\xA4", "Datei f\xC3\xA4."}, ReportCase{"", ""}));

TEST(FailureReportText, ShowsEveryRuntimeFailureWithItsPeriod) {
    EXPECT_EQ(FailureReportText(ConversionFailure("12a").what()),
              "'12a' is not a valid integer value.");
    EXPECT_EQ(FailureReportText(DivisionFailure().what()), "Division by zero.");
    EXPECT_EQ(FailureReportText(IniWriteFailure("/x/y.vx4").what()),
              "Unable to write to /x/y.vx4.");
}

}  // namespace
}  // namespace vx40
