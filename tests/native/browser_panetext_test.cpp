#include "browser/core/framefile.h"
#include "browser/core/panetext.h"

#include "common/core/numbertext.h"

#include <gtest/gtest.h>

namespace {

std::string formatShown(size_t n)
{
    return formatThousands(static_cast<int64_t>(n));
}

} // namespace

TEST(PaneText, ExcerptKeepsWholeLinesWithinTheBound)
{
    const struct {
        const char* text;
        size_t bound;
        size_t length;
        size_t lineBound = paneLineBound;
    } cases[] = {
        {"", 4, 0},
        {"ab\r\ncd", 6, 6},            // fits whole
        {"ab\r\ncd", 5, 2},            // the second line does not fit
        {"ab\r\ncd\r\nef", 8, 6},      // a line end exactly at the bound
        {"ab\r\ncd\r\nef", 7, 6},
        {"abcdef\r\ngh", 4, 4},        // the first line alone is longer: cut inside it
        {"abcdefgh", 3, 3},
        {"a\rb\nc\r\nd", 6, 5},        // a lone CR or LF does not end a line
        {"\r\nabcdef", 3, 0},          // an empty first line fits
        // A line longer than the line bound ends the excerpt, cut.
        {"ab\r\ncdefgh\r\nij", 100, 7, 3},
        {"abcdefgh", 100, 3, 3},
        {"ab\r\ncde\r\nfg", 100, 11, 3},
        {"ab\r\ncdefgh", 6, 2, 3},     // the cut line would not fit in all
    };
    for (const auto& c : cases)
        EXPECT_EQ(paneExcerptLength(c.text, c.bound, c.lineBound), c.length) << c.text << " bound " << c.bound;
}

TEST(PaneText, LineCountAndNote)
{
    EXPECT_EQ(lineCount(""), 0u);
    EXPECT_EQ(lineCount("a"), 1u);
    EXPECT_EQ(lineCount("a\r\nb\r\n"), 3u);
    EXPECT_EQ(lineCount("a\rb\n"), 1u);

    EXPECT_EQ(excerptNote("ab\r\ncd", 6), "");
    EXPECT_EQ(excerptNote("ab\r\ncd\r\nef", 6), "  (first 2 of 3 variants shown)");
    EXPECT_EQ(excerptNote("abcdef\r\ngh", 4), "  (first 4 of 10 bytes shown)");
    EXPECT_EQ(excerptNote("ab\r\ncdefgh\r\nij", 7), "  (first 7 of 14 bytes shown)");
}

// A frame far beyond the bound: the pane gets its first lines, the label
// says how many of all; the record itself stays whole.
TEST(PaneText, LargeFrameIsShownInPartAndTheLabelSaysSo)
{
    std::string record = "1\tthe * of\t99\t250000";
    std::string line = "\r\nthe end of\t1"; // 14 bytes with its line end
    for (int i = 0; i < 250000; ++i)
        record += line;
    const size_t shownLines = (paneTextBound + 2) / line.size(); // CR LF before the first line is not shown
    std::string shown = variantLines(record);
    EXPECT_LE(shown.size(), paneTextBound);
    EXPECT_EQ(shown.size(), shownLines * line.size() - 2);
    EXPECT_EQ(lineCount(shown), shownLines);
    EXPECT_EQ(frameSummary(record), "the * of:  rank 1, frequency 99, variants 250000  (first " +
                                        formatShown(shownLines) + " of 250,000 variants shown)");

    // One line longer than the pane takes: its beginning is shown.
    std::string longLine = "2\tx\t1\t1\r\n" + std::string(paneTextBound + 10, 'v');
    EXPECT_EQ(variantLines(longLine).size(), paneLineBound);
    EXPECT_EQ(frameSummary(longLine), "x:  rank 2, frequency 1, variants 1  (first 1,000 of 1,000,010 bytes shown)");
}

TEST(PaneText, LabelFieldsAreCut)
{
    std::string frame(400, 'f');
    EXPECT_EQ(frameSummary("3\t" + frame + "\t7\t0"),
              frame.substr(0, labelFieldBound) + ":  rank 3, frequency 7, variants 0");
}
