// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ToolFailure.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "tests/core/TempDir.h"
#include "tools/InputFile.h"

namespace vx40::tool {
namespace {

// Every failure a command ends with leaves the tool through this report: a refusal of data with
// exit code 1, a failure of the call with 2 and, for a wrong call, the usage after it.
TEST(ToolFailureReport, GivesTheMessageTheExitCodeAndWhetherTheUsageFollows) {
    const struct {
        Failure failure;
        std::string message;
        int exitCode;
        bool usageFollows;
    } cases[] = {
        {Failure(FailureKind::ReadFailed, ENOENT, "plan\x1b.txt"),
         "Die Datei \"plan\\x1b.txt\" kann nicht gelesen werden: sie existiert nicht.", 2, true},
        {CallRefusal("A und B nennen dieselbe Datei"), "A und B nennen dieselbe Datei", 2, true},
        {Failure(FailureKind::NoChannelSet, 0, "leer.vx4"), "keine Kanaldatei: leer.vx4", 1, false},
        {Failure(FailureKind::ImageTooShort), "Binärfile ist kein Brenstadel-File", 1, false},
        {Failure(FailureKind::ImageInvalidData, 0, {}, 7),
         "Während des Einlesens wurden Daten\nentdeckt die nicht Brenstadel konform sind\n"
         "(>0F oder Bitstream falsch)",
         1, false},
        {Failure(FailureKind::InputRefused, 0, "Zeile 3: mehr als 16 Kanäle", 3),
         "Zeile 3: mehr als 16 Kanäle", 1, false},
        {CommandFailure("Division by zero."), "Division by zero.", 2, false},
    };
    for (const auto& row : cases) {
        const FailureReport report = ToolFailureReport(row.failure);
        EXPECT_EQ(report.message, row.message);
        EXPECT_EQ(report.exitCode, row.exitCode) << row.message;
        EXPECT_EQ(report.usageFollows, row.usageFollows) << row.message;
    }
}

// A channel-set input that cannot be read is the unreadable input, never a table of empty cells;
// one without channels is refused as such.
TEST(LoadChannelSetInput, FailsWithTheKindTheReportNeeds) {
    testutil::TempDir dir;
    testutil::WriteBytes(dir.Path("fremd.vx4"), "[Anderes]\nA=1\n");
    const struct {
        std::string path;
        FailureKind kind;
        int error;
    } cases[] = {
        {dir.Path("fehlt.vx4"), FailureKind::ReadFailed, ENOENT},
        {dir.Path(), FailureKind::ReadFailed, EISDIR},
        {dir.Path("fremd.vx4"), FailureKind::NoChannelSet, 0},
    };
    for (const auto& row : cases) {
        const Result<ChannelTable> table = LoadChannelSetInput(row.path);
        ASSERT_FALSE(table.Ok()) << row.path;
        EXPECT_EQ(table.Error().kind, row.kind) << row.path;
        EXPECT_EQ(table.Error().error, row.error) << row.path;
        EXPECT_EQ(table.Error().detail, row.path);
    }
}

}  // namespace
}  // namespace vx40::tool
