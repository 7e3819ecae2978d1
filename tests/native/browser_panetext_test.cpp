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
        size_t lineBound;
        const char* shown;
        size_t linesShown;
        size_t linesCut;
    } cases[] = {
        {"", 4, 4, "", 0, 0},
        {"ab\r\ncd", 6, 6, "ab\r\ncd", 2, 0},          // fits whole
        {"ab\r\ncd", 5, 5, "ab", 1, 0},                // the second line does not fit
        {"ab\r\ncd\r\nef", 8, 8, "ab\r\ncd", 2, 0},    // a line end exactly at the bound
        {"ab\r\ncd\r\nef", 7, 7, "ab\r\ncd", 2, 0},
        {"a\rb\nc\r\nd", 6, 6, "a\rb\nc", 1, 0},       // a lone CR or LF does not end a line
        {"\r\nabcdef", 3, 3, "", 1, 0},                // an empty first line fits
        {"ab\r\n", 4, 4, "ab\r\n", 2, 0},              // so does an empty last one
    };
    for (const auto& c : cases) {
        const PaneExcerpt excerpt = paneExcerpt(c.text, c.bound, c.lineBound);
        EXPECT_EQ(excerpt.text, c.shown) << c.text << " bound " << c.bound;
        EXPECT_EQ(excerpt.linesShown, c.linesShown) << c.text << " bound " << c.bound;
        EXPECT_EQ(excerpt.linesCut, c.linesCut) << c.text << " bound " << c.bound;
    }
}

// A line over the line bound is shortened, and the lines after it are
// still shown as far as they fit.
TEST(PaneText, ALongLineIsShortenedAndTheLinesAfterItStay)
{
    const struct {
        const char* text;
        size_t bound;
        const char* shown;
        size_t linesShown;
        size_t linesCut;
    } cases[] = {
        {"ab\r\ncdefgh\r\nij", 100, "ab\r\ncde\r\nij", 3, 1},
        {"abcdefgh", 100, "abc", 1, 1},
        {"ab\r\ncde\r\nfg", 100, "ab\r\ncde\r\nfg", 3, 0}, // exactly the line bound
        {"abcdef\r\nghijkl\r\nm", 100, "abc\r\nghi\r\nm", 3, 2},
        {"ab\r\ncdefgh", 6, "ab", 1, 0},                 // the cut line would not fit in all
        {"ab\r\ncdefgh", 7, "ab\r\ncde", 2, 1},
    };
    for (const auto& c : cases) {
        const PaneExcerpt excerpt = paneExcerpt(c.text, c.bound, 3);
        EXPECT_EQ(excerpt.text, c.shown) << c.text << " bound " << c.bound;
        EXPECT_EQ(excerpt.linesShown, c.linesShown) << c.text << " bound " << c.bound;
        EXPECT_EQ(excerpt.linesCut, c.linesCut) << c.text << " bound " << c.bound;
    }
}

TEST(PaneText, LineCountAndNote)
{
    EXPECT_EQ(lineCount(""), 0u);
    EXPECT_EQ(lineCount("a"), 1u);
    EXPECT_EQ(lineCount("a\r\nb\r\n"), 3u);
    EXPECT_EQ(lineCount("a\rb\n"), 1u);

    const auto note = [](const char* text, size_t bound) {
        return excerptNote(text, paneExcerpt(text, bound, 3), 3);
    };
    EXPECT_EQ(note("ab\r\ncd", 6), "");
    EXPECT_EQ(note("ab\r\ncd\r\nef", 6), "  (first 2 of 3 variants shown)");
    EXPECT_EQ(note("ab\r\ncdefgh\r\nij", 100), "  (1 variant cut at 3 bytes)");
    EXPECT_EQ(note("abcd\r\nefgh\r\nij", 100), "  (2 variants cut at 3 bytes)");
    EXPECT_EQ(note("abcd\r\nefgh\r\nij", 8), "  (first 2 of 3 variants shown, 2 cut at 3 bytes)");
    EXPECT_EQ(excerptNote("ab\r\ncd", paneExcerpt("ab\r\ncd")), "");
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
    EXPECT_EQ(frameSummary(longLine), "x:  rank 2, frequency 1, variants 1  (1 variant cut at 1,000 bytes)");
}

// One variant line of 1,555 bytes among short ones: it is shortened, and
// every variant after it is still shown.
TEST(PaneText, OneLongVariantHidesNoOther)
{
    const std::string record = "1\tthe * of\t9\t3\r\nthe cat of\t5\r\nthe " + std::string(1544, 'x') +
                               " of\t3\r\nthe dog of\t1";
    const std::string shown = variantLines(record);
    EXPECT_EQ(shown, "the cat of\t5\r\nthe " + std::string(paneLineBound - 4, 'x') + "\r\nthe dog of\t1");
    EXPECT_EQ(frameSummary(record), "the * of:  rank 1, frequency 9, variants 3  (1 variant cut at 1,000 bytes)");
}

TEST(PaneText, LabelFieldsAreCut)
{
    std::string frame(400, 'f');
    EXPECT_EQ(frameSummary("3\t" + frame + "\t7\t0"),
              frame.substr(0, labelFieldBound) + ":  rank 3, frequency 7, variants 0");
}
