#include "browser/core/findscan.h"

#include "browser/core/rtf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records as the loader stores them, element 0 unused.
const std::vector<std::string> sample = {
    "",
    "1\tat the * of\t412\t2\r\nat the end of\t300\r\nat the top of\t112",
    "2\tin * case\t57\t2\r\nin this case\t40\r\nin that case\t17",
    "3\tthe * of\t1200\t1\r\nThe Top of\t1200",
    "4\ton * \x84rger\t9\t1\r\non the \x84rger\t9",
    "5\ta * caf\xE9\t8\t1\r\na small caf\xE9\t8",
    "6\tno variants here\t3\t0",
};
const int32_t sampleCount = 6;

}  // namespace

TEST(BrowserFindScan, NormalisesTypedText)
{
    const struct { const char* typed; const char* text; } cases[] = {
        {"  a   b  ", "a  b"},
        {"   ", ""},
        {"", ""},
        {"a b", "a b"},
        {"a  b", "a b"},
        {"a    b", "a  b"},
        {"a     b", "a   b"},
        {"\ta  b\t", "\ta b\t"},
        {" x ", "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(normaliseFindText(c.typed), c.text) << '[' << c.typed << ']';
}

TEST(BrowserFindScan, StartRowLetsRowOneBeSearchedUntilItWasFound)
{
    EXPECT_EQ(findStartIndex(1, false), 1);
    EXPECT_EQ(findStartIndex(1, true), 2);
    EXPECT_EQ(findStartIndex(0, false), 1);
    EXPECT_EQ(findStartIndex(2, false), 3);
    EXPECT_EQ(findStartIndex(2, true), 3);
    EXPECT_EQ(findStartIndex(6, false), 7);
}

TEST(BrowserFindScan, FindsFirstMatchingRecordFromStart)
{
    const struct { int32_t start; const char* search; bool matchCase; int32_t found; } cases[] = {
        {1, "the", true, 1},
        {2, "the", true, 3},
        {4, "the", true, 4},
        {5, "the", true, 0},
        {1, "Top", true, 3},
        {1, "Top", false, 1},
        {1, "TOP", false, 1},
        {2, "top", false, 3},
        {1, "CASE", true, 0},
        {1, "case", false, 2},
        {1, "12", true, 1},        // frequency 412
        {2, "12", true, 3},        // frequency 1200
        {4, "12", true, 0},
        {1, "6\t", true, 6},       // rank with its TAB
        {1, "variants", true, 6},  // header-only record
        {1, "\t2\r\n", true, 1},   // across the header's line end
        {1, "\x8E", false, 0},     // no OEM fold: Z with caron in 1252
        {1, "\xC9", false, 5},     // code page 1252 letters fold
        {1, "CAF\xC9", false, 5},
        {6, "at", true, 0},        // last row: nothing after it
        {7, "the", true, 0},
        {1, "", true, 0},
        {1, "", false, 0},
        {-3, "at the", true, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findFrame(sample, sampleCount, c.start, c.search, c.matchCase), c.found)
            << c.start << " [" << c.search << "] " << c.matchCase;
}

TEST(BrowserFindScan, CaseFoldedMatchingInsideOneRecord)
{
    const struct { const char* record; const char* search; bool found; } cases[] = {
        {"xyzXYZ", "ZXY", true},
        {"zaZA zA", "ZA ZA", true},
        {"Tthe", "THE", true},
        {"the", "THE", true},
        {"th", "THE", false},
        {"theT", "HET", true},
        {"tHe th", "THX", false},
        {"\x9E\x8E", "\x8E\x8E", true},
        {"\xE9\xC9", "\xC9\xE9", true},
        {"\x8E\x9E", "\x9E", true},
        {"a\xFF", "A\x9F", true},
        {"\x87", "\x80", false},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> frames = {"", c.record};
        EXPECT_EQ(findFrame(frames, 1, 1, c.search, false), c.found ? 1 : 0) << c.record << " / " << c.search;
    }
}

TEST(BrowserFindScan, FoldedSearchMatchesUnfoldedSearch)
{
    for (const char* search : {"in this", "IN THIS", "caf\xE9", "CAF\xC9"})
        EXPECT_EQ(findFrame(sample, sampleCount, 1, upperCase(search), false),
                  findFrame(sample, sampleCount, 1, search, false))
            << search;
}

TEST(BrowserFindScan, StaysWithinFrameCountAndVector)
{
    EXPECT_EQ(findFrame(sample, 2, 1, "1200", true), 0);
    EXPECT_EQ(findFrame(sample, 100, 6, "variants", true), 6);
    EXPECT_EQ(findFrame(sample, 0, 1, "the", false), 0);
    EXPECT_EQ(findFrame({""}, 0, 1, "the", true), 0);
}

TEST(BrowserFindScan, RepeatedSearchesVisitMatchesInTurn)
{
    std::vector<int32_t> visited;
    int32_t selected = 1;
    int32_t lastFound = 0;
    for (int round = 0; round < 5; ++round) {
        const int32_t found =
            findFrame(sample, sampleCount, findStartIndex(selected, lastFound == 1), "OF", false);
        visited.push_back(found);
        if (found != 0)
            selected = lastFound = found;
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{1, 3, 0, 0, 0}));
}

TEST(BrowserFindScan, NotFoundTextHasTwoLines)
{
    EXPECT_EQ(notFoundText("a  b"), "\"a  b\"\r not found in specified context.");
}

// A match in the variant lines beyond the part the pane shows: the frame is
// found and the label must say why nothing is bold.
TEST(BrowserFindScan, TellsAMatchBeyondTheShownPartFromOneInIt)
{
    std::string record = "1\tthe * of\t9\t3\r\nthe cat of\t5\r\nthe " + std::string(1500, 'x') + "Needle of\t3";
    EXPECT_TRUE(matchLiesBeyondShownPart(record, "Needle", true));
    EXPECT_TRUE(matchLiesBeyondShownPart(record, "NEEDLE", false));
    EXPECT_FALSE(matchLiesBeyondShownPart(record, "NEEDLE", true)); // no match at all
    EXPECT_FALSE(matchLiesBeyondShownPart(record, "cat", true));    // shown
    EXPECT_FALSE(matchLiesBeyondShownPart(record, "the * of", true)); // the frame, not a variant
    EXPECT_FALSE(matchLiesBeyondShownPart(record, "", true));
}
