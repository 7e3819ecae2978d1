#include "browser/core/listsort.h"
#include "browser/core/variantorder.h"

#include <gtest/gtest.h>

namespace {

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (size_t k = 1; k < lines.size(); ++k)
        out += (k > 1 ? "\r\n" : "") + lines[k];
    return out;
}

// Lines "name TAB key" with keys read back as numbers, element 0 unused.
void makeLines(const std::vector<std::pair<std::string, int32_t>>& pairs, std::vector<std::string>& lines,
               std::vector<int32_t>& keys)
{
    lines.assign(1, std::string());
    keys.assign(1, 0);
    for (const auto& pair : pairs) {
        lines.push_back(pair.first + "\t" + std::to_string(pair.second));
        keys.push_back(pair.second);
    }
}

} // namespace

TEST(VariantOrder, OrdersOnlyWhenWantedOrderDiffersOrForced)
{
    const struct {
        bool alphabetical;
        int32_t fileIsFreqOrder;
        bool force;
        bool needed;
    } cases[] = {
        {true, 1, false, true},  {true, 0, false, false}, {false, 0, false, true},
        {false, 1, false, false}, {true, 0, true, true},  {false, 1, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(variantsNeedOrdering(c.alphabetical, c.fileIsFreqOrder, c.force), c.needed)
            << c.alphabetical << c.fileIsFreqOrder << c.force;
        std::string text = "b\t1\r\nB\t2\r\na\t3";
        orderVariants(text, c.alphabetical, c.fileIsFreqOrder, c.force);
        const char* expected = !c.needed          ? "b\t1\r\nB\t2\r\na\t3"
                               : c.alphabetical ? "B\t2\r\na\t3\r\nb\t1"
                                                : "a\t3\r\nB\t2\r\nb\t1";
        EXPECT_EQ(text, expected) << c.alphabetical << c.fileIsFreqOrder << c.force;
    }
}

TEST(VariantOrder, AlphabeticalIsByteOrderOfWholeLines)
{
    std::string text = "the end\t5\r\nThe End\t9\r\nthe\t2\r\n\xe0 la\t1\r\nthe end\t4";
    orderVariants(text, true, 1, false);
    EXPECT_EQ(text, "The End\t9\r\nthe\t2\r\nthe end\t4\r\nthe end\t5\r\n\xe0 la\t1");
}

TEST(VariantOrder, ByFrequencyReadsTheNumberAfterTheFirstTab)
{
    std::string text = "b\t3\r\nno tab 99\r\na\t  5\r\nc\t3\r\nd\t2.5\tx\r\ne\t2.6";
    orderVariants(text, false, 0, false);
    EXPECT_EQ(text, "a\t  5\r\nb\t3\r\nc\t3\r\ne\t2.6\r\nd\t2.5\tx\r\nno tab 99");
}

TEST(VariantOrder, ForcedFreqPutsTiesInByteOrder)
{
    // With "&Freq" already checked on a frequency file, a forced reorder
    // still sorts equal frequencies alphabetically.
    std::string text = "y\t7\r\nx\t7\r\nb\t2\r\na\t2";
    orderVariants(text, false, 1, true);
    EXPECT_EQ(text, "x\t7\r\ny\t7\r\na\t2\r\nb\t2");
}

TEST(VariantOrder, EmptyLinesAreLinesToo)
{
    std::string empty;
    orderVariants(empty, true, 1, true);
    EXPECT_EQ(empty, "");
    std::string trailing = "a\t1\r\nb\t2\r\n";
    orderVariants(trailing, false, 0, false);
    EXPECT_EQ(trailing, "b\t2\r\na\t1\r\n");
    trailing = "b\t1\r\na\t2\r\n";
    orderVariants(trailing, true, 1, false);
    EXPECT_EQ(trailing, "\r\na\t2\r\nb\t1");
}

TEST(VariantOrder, TiesSortedWithinTwelveRuns)
{
    // Eleven single runs, then a tie as the twelfth run: it is sorted.
    std::vector<std::pair<std::string, int32_t>> pairs;
    for (int32_t f = 100; f > 89; --f)
        pairs.push_back({"k" + std::to_string(f), f});
    pairs.push_back({"zeta", 1});
    pairs.push_back({"alpha", 1});
    std::vector<std::string> lines;
    std::vector<int32_t> keys;
    makeLines(pairs, lines, keys);
    sortByFrequency(lines, keys);
    EXPECT_EQ(lines[12], "alpha\t1");
    EXPECT_EQ(lines[13], "zeta\t1");
    EXPECT_EQ(lines[1], "k100\t100");
    EXPECT_EQ(keys[13], 1);
}

TEST(VariantOrder, TiesAfterTwelveRunsKeepTheFrequencySortOrder)
{
    // Twelve single runs push the tie into the thirteenth run. In one of
    // the two input orders the frequency sort leaves the tie out of byte
    // order, and it stays so.
    bool sawUnsorted = false;
    for (const char* firstName : {"zeta", "alpha"}) {
        std::vector<std::pair<std::string, int32_t>> pairs;
        pairs.push_back({firstName, 1});
        for (int32_t f = 100; f > 88; --f)
            pairs.push_back({"k" + std::to_string(f), f});
        pairs.push_back({firstName[0] == 'z' ? "alpha" : "zeta", 1});
        std::vector<std::string> lines, frequencyOnly;
        std::vector<int32_t> keys, frequencyKeys;
        makeLines(pairs, lines, keys);
        makeLines(pairs, frequencyOnly, frequencyKeys);
        listSort(frequencyKeys, &frequencyOnly, 1, 14, true);

        sortByFrequency(lines, keys);
        EXPECT_EQ(joinLines(lines), joinLines(frequencyOnly)) << firstName;
        EXPECT_EQ(lines[12], "k89\t89");
        if (lines[13] == "zeta\t1")
            sawUnsorted = true;
    }
    EXPECT_TRUE(sawUnsorted);
}

TEST(VariantOrder, TwentyVariantsWithTheLowestTwoEqual)
{
    // Both input orders of the tied pair: only the frequency sort decides
    // where they end, and in one of the two they are not in byte order.
    bool sawUnsorted = false;
    for (int order = 0; order < 2; ++order) {
        std::vector<std::pair<std::string, int32_t>> pairs;
        for (int32_t f = 20; f > 2; --f)
            pairs.push_back({"v" + std::to_string(f), f});
        pairs.insert(pairs.begin() + 5, {order == 0 ? "b" : "a", 1});
        pairs.push_back({order == 0 ? "a" : "b", 1});
        std::vector<std::string> lines, frequencyOnly;
        std::vector<int32_t> keys, frequencyKeys;
        makeLines(pairs, lines, keys);
        makeLines(pairs, frequencyOnly, frequencyKeys);
        listSort(frequencyKeys, &frequencyOnly, 1, 20, true);
        sortByFrequency(lines, keys);
        EXPECT_EQ(joinLines(lines), joinLines(frequencyOnly));
        if (lines[19] == "b\t1")
            sawUnsorted = true;
    }
    EXPECT_TRUE(sawUnsorted);
}

TEST(VariantOrder, SortByFrequencyOnTinyInputs)
{
    std::vector<std::string> lines{""};
    std::vector<int32_t> keys{0};
    sortByFrequency(lines, keys);
    EXPECT_EQ(lines.size(), 1u);
    lines = {"", "only\t3"};
    keys = {0, 3};
    sortByFrequency(lines, keys);
    EXPECT_EQ(lines[1], "only\t3");
    lines = {"", "b\t3", "a\t3"};
    keys = {0, 3, 3};
    sortByFrequency(lines, keys);
    EXPECT_EQ(joinLines(lines), "a\t3\r\nb\t3");
}

// A frame too large for the pane: the order asked for is the order of the
// whole frame, and the pane shows its start; the note counts in that order.
TEST(VariantOrder, FrameShownInPartIsOrderedWholeBeforeTheCut)
{
    std::string record = "1\tthe * of\t3000000\t200000";
    for (int i = 0; i < 100000; ++i)
        record += "\r\nthe zz" + std::to_string(i) + " of\t20";
    for (int i = 0; i < 100000; ++i)
        record += "\r\nthe aa" + std::to_string(i) + " of\t10";

    const PaneVariants alphabetical = paneVariants(record, true, 1, false);
    EXPECT_EQ(alphabetical.text.substr(0, 13), "the aa0 of\t10");
    EXPECT_EQ(alphabetical.text.find("zz"), std::string::npos);
    EXPECT_EQ(alphabetical.note.substr(0, 9), "  (first ");
    EXPECT_NE(alphabetical.note.find(" of 200,000 variants shown)"), std::string::npos);

    // In the file's own order nothing is sorted and the start is the file's.
    const PaneVariants inFileOrder = paneVariants(record, false, 1, false);
    EXPECT_EQ(inFileOrder.text.substr(0, 13), "the zz0 of\t20");

    // Forced by frequency on an alphabetical file: the highest first.
    const PaneVariants byFrequency = paneVariants(record, false, 0, true);
    EXPECT_EQ(byFrequency.text.find("aa"), std::string::npos);
}

// The pane ends its text at a NUL: each is handed over as a blank.
TEST(VariantOrder, PaneTextShowsNulsAsBlanks)
{
    const std::string record("1\tf\t2\t2\r\na\0b\t5\r\nc\t1", 19);
    const PaneVariants shown = paneVariants(record, false, 1, false);
    EXPECT_EQ(shown.text, "a b\t5\r\nc\t1");
    EXPECT_EQ(shown.note, "");
}
