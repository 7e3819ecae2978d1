// The Stats table as makeframes writes it, read back through the one
// definition of its format that the browser uses.
#include "common/core/statsformat.h"
#include "tests/support/madeframes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::vector<std::string>> rowsOf(const std::string& text, std::string& problem)
{
    std::vector<std::vector<std::string>> rows;
    problem = readStatsText(text, [&](const StatsRow& row) {
        rows.emplace_back(std::begin(row.fields), std::end(row.fields));
        // Each number field's value, written back, is the field.
        for (size_t c = 0; c < statsColumnCount; ++c) {
            char value[statsValueSize];
            const size_t length = writeStatsValue(value, row.values[c], statsColumns[c].kind);
            if (statsColumns[c].kind != statsText) {
                EXPECT_EQ(std::string(value, length), row.fields[c]);
            }
        }
    });
    return rows;
}

} // namespace

TEST(StatsFormat, ReadsWhatMakeframesWrites)
{
    const std::string stats = makeFrames("The cat sat. The cat ran. A dog sat. The dog ran.").stats;
    ASSERT_EQ(stats.substr(0, statsHeaderLine().size()), statsHeaderLine());
    EXPECT_EQ(statsHeaderLine(), "frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\t"
                                 "top variant share\tentropy (bits)\trange\tDP\tper million words\r\n");
    std::string problem;
    const auto rows = rowsOf(stats, problem);
    EXPECT_EQ(problem, "");
    // One row per line after the header, each as its line splits at TABs.
    std::string joined = statsHeaderLine();
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.size(); ++c)
            joined += (c > 0 ? "\t" : "") + row[c];
        joined += "\r\n";
    }
    EXPECT_EQ(joined, stats);
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ(rows[0][statsColumnIndex("frame")], "the *");
    // Made with -codepage utf8, the table starts with UTF-8's mark.
    std::string markedProblem;
    EXPECT_EQ(rowsOf("\xEF\xBB\xBF" + stats, markedProblem), rows);
    EXPECT_EQ(markedProblem, "");
}

TEST(StatsFormat, MalformedAndTruncatedTablesSayWhy)
{
    const std::string header = statsHeaderLine();
    const std::string row = "the *\t4\t2\t0.5000\tthe cat\t0.7500\t0.8113\t2\t0.0000\t400000.0000\r\n";
    const struct {
        std::string text;
        const char* problem;
    } cases[] = {
        {"", "it is cut short: it ends within its header row"},
        {header.substr(0, 20), "it is cut short: it ends within its header row"},
        {header + row.substr(0, row.size() - 2), "it is cut short: its line 2 has no line end"},
        {header + row + "the *\t4", "it is cut short: its line 3 has no line end"},
        {"frame\tfrequency\r\n" + row,
         "it is not a statistics table as makeframes writes it: its first line is not the header row \"frame\t"
         "frequency\tvariants\tvariants per occurrence\ttop variant\ttop variant share\tentropy (bits)\trange\tDP\t"
         "per million words\" (with TABs between the headings)"},
        // A table of the earlier layout, without DP.
        {"frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\ttop variant share\tentropy (bits)\t"
         "range\tper million words\r\nthe *\t4\t2\t0.5000\tthe cat\t0.7500\t0.8113\t2\t400000.0000\r\n",
         "it was made by an earlier makeframes, without the DP column: make the files again to see their measures"},
        {header + "the *\t4\t2\r\n",
         "it is not a statistics table as makeframes writes it: line 2 has 3 fields instead of 10"},
        {header + row + "a *\t4\t2\t0.5000\ta b\t0.7500\t0.8113\t2\t0.0000\t4000.0000\textra\r\n",
         "it is not a statistics table as makeframes writes it: line 3 has 11 fields instead of 10"},
        {header + "the *\tfour\t2\t0.5000\tthe cat\t0.7500\t0.8113\t2\t0.0000\t400000.0000\r\n",
         "it is not a statistics table as makeframes writes it: line 2 holds \"four\" in the column \"frequency\", "
         "which is no count"},
        {header + "the *\t4\t2\t0.5000\tthe cat\t0,7500\t0.8113\t2\t0.0000\t400000.0000\r\n",
         "it is not a statistics table as makeframes writes it: line 2 holds \"0,7500\" in the column \"top variant "
         "share\", which is no fraction with four decimals"},
        {header + "the *\t4\t2\t0.5000\tthe cat\t0.7500\t0.81\t2\t0.0000\t400000.0000\r\n",
         "it is not a statistics table as makeframes writes it: line 2 holds \"0.81\" in the column \"entropy "
         "(bits)\", which is no fraction with four decimals"},
        {header + "the \n*\t4\t2\t0.5000\tthe cat\t0.7500\t0.8113\t2\t0.0000\t400000.0000\r\n",
         "it is not a statistics table as makeframes writes it: line 2 holds a lone CR or LF"},
        {header, ""},
        {header + row, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string problem;
        rowsOf(c.text, problem);
        EXPECT_EQ(problem, c.problem);
    }
}
