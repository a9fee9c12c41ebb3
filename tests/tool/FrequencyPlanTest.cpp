// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/FrequencyPlan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/core/TempDir.h"

namespace vx40::tool {
namespace {

// A channel line as the reader hands it over, comparable in one expectation.
struct SeenLine {
    int lineNumber;
    std::string text;
    std::optional<std::int32_t> frequencyKhz;
    bool operator==(const SeenLine&) const = default;
};
void PrintTo(const SeenLine& line, std::ostream* out) {
    *out << line.lineNumber << ": \"" << line.text << "\" "
         << (line.frequencyKhz ? std::to_string(*line.frequencyKhz) : "none");
}

std::vector<SeenLine> ReadInChunks(std::string_view text, std::size_t chunkSize) {
    std::vector<SeenLine> seen;
    const auto onLine = [&](const PlanLine& line) {
        seen.push_back({line.lineNumber, line.text, line.frequencyKhz});
    };
    PlanLineReader reader;
    for (std::size_t at = 0; at < text.size(); at += chunkSize) {
        reader.Feed(text.substr(at, chunkSize), onLine);
    }
    reader.Finish(onLine);
    return seen;
}

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<SeenLine> lines;
};

const std::string kLongDigits(300, '7');

// The same lines however the reads of the file split the text: whole, in pieces of 1 to 7 bytes.
TEST(PlanLineReader, HandsOverTheChannelLinesWhereverTheReadsSplitThem) {
    const ReaderCase cases[] = {
        {"Empty", "", {}},
        {"CommentsAndBlankLines",
         "# Relais Nord\r\n798300\r\n\r\n   \r\n  # Reserve\r\n 798325 \r\n",
         {{2, "798300", 798300}, {6, "798325", 798325}}},
        {"LastLineWithoutBreak", "1\n\t-5\f\v", {{1, "1", 1}, {2, "-5", -5}}},
        {"NoFrequencies",
         "+5\n12.5\n0x10\nabc\n#\n",
         {{1, "+5", std::nullopt},
          {2, "12.5", std::nullopt},
          {3, "0x10", std::nullopt},
          {4, "abc", std::nullopt}}},
        {"BeyondInt32",
         "2147483647\n2147483648\n",
         {{1, "2147483647", 2147483647}, {2, "2147483648", std::nullopt}}},
        // A cut line keeps 244 bytes, however much the digits would say.
        {"HugeLineIsCut",
         kLongDigits + "\n5\n",
         {{1, std::string(244, '7'), std::nullopt}, {2, "5", 5}}},
        // Blanks beyond the kept start do not cut a line.
        {"BlanksAfterTheKeptStart",
         "798300" + std::string(1000, ' ') + "\n",
         {{1, "798300", 798300}}},
    };
    for (const auto& row : cases) {
        for (std::size_t chunk = 1; chunk <= 8; ++chunk) {
            const std::size_t size = chunk == 8 ? row.text.size() + 1 : chunk;
            EXPECT_EQ(ReadInChunks(row.text, size), row.lines) << row.name << ", chunk " << size;
        }
    }
}

// Blanks around a frequency and comment lines count for nothing, however many there are and
// wherever the reads of the file split them.
TEST(ReadPlanFrequencies, ReadsAFrequencyAmidAnyAmountOfBlanksAndComments) {
    testutil::TempDir dir;
    std::string plan = std::string(200000, ' ') + "\t798300" + std::string(200000, ' ') + "\r\n";
    for (int line = 0; line < 20000; ++line) {
        plan += "# " + std::string(40, '#') + "\n";
    }
    plan += std::string(100000, ' ') + "145125";  // the last line without a line break
    testutil::WriteBytes(dir.Path("plan.txt"), plan);
    const Result<PlanFrequencies> read = ReadPlanFrequencies(dir.Path("plan.txt"));
    ASSERT_TRUE(read.Ok());
    EXPECT_TRUE(read->offending.Empty());
    EXPECT_EQ(read->frequenciesKhz, (std::vector<std::int32_t>{798300, 145125}));
    EXPECT_EQ(ReadPlanFrequencies(std::string_view(plan)).frequenciesKhz, read->frequenciesKhz);
}

TEST(PlanLineProblem, NamesTheLineAndWhatIsWrongWithIt) {
    const struct {
        PlanLine line;
        int channel;
        std::optional<std::string> problem;
    } cases[] = {
        {{3, "798300", 798300}, 16, std::nullopt},
        {{17, "798300", 798300}, 17, "Zeile 17: mehr als 16 Kanäle"},
        {{4, "x", std::nullopt}, 17, "Zeile 4: mehr als 16 Kanäle"},
        {{2, "12.5", std::nullopt}, 1, "Zeile 2: \"12.5\" ist keine Frequenz in kHz"},
        {{9, "\x1b[2J" + std::string(70, 'x'), std::nullopt},
         2,
         "Zeile 9: \"\\x1b[2J" + std::string(56, 'x') + "…\" ist keine Frequenz in kHz"},
    };
    for (const auto& row : cases) {
        const Status problem = PlanLineProblem(row.line, row.channel);
        ASSERT_EQ(problem.Ok(), !row.problem.has_value()) << row.line.lineNumber;
        if (row.problem) {
            EXPECT_EQ(problem.Error().kind, FailureKind::InputRefused);
            EXPECT_EQ(problem.Error().detail, *row.problem);
            EXPECT_EQ(problem.Error().position, static_cast<std::size_t>(row.line.lineNumber));
        }
    }
}

TEST(OffendingLines, ShowsTwentyAndCountsTheOthers) {
    const struct {
        int added;
        std::string last;  // the last line printed
    } cases[] = {
        {1, "Zeile 1"},
        {20, "Zeile 20"},
        {21, "… und 1 weitere beanstandete Zeile"},
        {22, "… und 2 weitere beanstandete Zeilen"},
        {1000, "… und 980 weitere beanstandete Zeilen"},
    };
    for (const auto& row : cases) {
        OffendingLines offending;
        for (int line = 1; line <= row.added; ++line) {
            offending.Add("Zeile " + std::to_string(line));
        }
        std::ostringstream err;
        err << offending.Text();
        const std::string printed = err.str();
        EXPECT_FALSE(offending.Empty());
        EXPECT_TRUE(printed.starts_with("Zeile 1\n")) << row.added;
        EXPECT_TRUE(printed.ends_with("\n" + row.last + "\n") || printed == row.last + "\n")
            << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'),
                  std::min(row.added, 20) + (row.added > 20 ? 1 : 0));
    }
    EXPECT_TRUE(OffendingLines().Empty());
}

}  // namespace
}  // namespace vx40::tool
