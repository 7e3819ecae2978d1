#include "browser/core/controlids.h"
#include "browser/core/filekind.h"
#include "browser/core/layout.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Layout, RoundHalfEven)
{
    const struct {
        long double value;
        int32_t rounded;
    } cases[] = {
        {2.5L, 2}, {3.5L, 4}, {-2.5L, -2}, {-3.5L, -4}, {0.5L, 0}, {-0.5L, 0}, {1.5L, 2},
        {0.4999L, 0}, {2.5001L, 3}, {-2.7L, -3}, {7.0L, 7}, {1e12L, INT32_MAX}, {-1e12L, INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << static_cast<double>(c.value);
}

TEST(Layout, VerticalScaleFollowsHorizontal)
{
    EXPECT_EQ(unitScaleYFor(1.5f), 1.855f);
    EXPECT_EQ(unitScaleYFor(1.7499f), 1.855f);
    EXPECT_EQ(unitScaleYFor(1.75f), 1.9f);
    EXPECT_EQ(unitScaleYFor(2.0f), 1.9f);
}

// The places worked out by hand for a measured scale of 1.5 (so 1.855
// vertically): the main window's controls in dialog units.
TEST(Layout, ControlsAtUnitScaleOnePointFive)
{
    const struct {
        int id;
        ControlBox box;
    } examples[] = {
        {0, {0, 0, 453, 322}},
        {statusLabelId, {3, 1, 427, 17}},
        {variantPaneId, {5, 154, 443, 152}},
        {frameInfoLabelId, {5, 137, 144, 15}}, // narrower since the Concordance button stands beside it
        {concordanceButtonId, {152, 138, 51, 12}},
        {alphaButtonId, {205, 138, 29, 12}},
        {freqButtonId, {237, 138, 29, 12}},
        {copyFrameButtonId, {269, 138, 96, 12}},
        {copyAllButtonId, {368, 138, 80, 12}},
        {frameListId, {4, 23, 443, 112}},
        {12345, {0, 0, 0, 0}},
    };
    for (const auto& c : examples) {
        const ControlBox box = mainControlBox(c.id, 1.5f, 1.855f);
        EXPECT_EQ(box.x, c.box.x) << c.id;
        EXPECT_EQ(box.y, c.box.y) << c.id;
        EXPECT_EQ(box.width, c.box.width) << c.id;
        EXPECT_EQ(box.height, c.box.height) << c.id;
    }
}

TEST(Layout, OtherUnitScales)
{
    EXPECT_EQ(pctX(85, 2.0f), 340);
    EXPECT_EQ(pctY(110, unitScaleYFor(2.0f)), 314);
    EXPECT_EQ(pctX(85, 1.75f), 389);
}

TEST(Layout, ListColumnWidths)
{
    const struct {
        int32_t listWidth, scrollWidth;
        int32_t widths[4];
    } cases[] = {
        {664, 16, {52, 451, 71, 71}},
        {70, 16, {4, 35, 6, 6}},     // 11 % of 50 = 5.5 goes to the even 6
        {25, 16, {0, 4, 1, 1}},      // 70 % of 5 = 3.5 goes to 4
        {95, 16, {6, 52, 8, 8}},     // 70 % of 75 = 52.5 goes to 52
        {20, 16, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        int32_t widths[4] = {-1, -1, -1, -1};
        listColumnWidths(c.listWidth, c.scrollWidth, widths);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(widths[k], c.widths[k]) << c.listWidth << " column " << k;
    }
}

TEST(FileKind, ClassifiesByExactEnding)
{
    const struct {
        const char* name;
        FileKind kind;
    } cases[] = {
        {"C:\\corpora\\corpus-Alpha-phraseFrames.txt", fileKindAlpha},
        {"corpus-Freq-phraseFrames.txt", fileKindFreq},
        {"Alpha-phraseFrames.txt", fileKindAlpha},
        {"Freq-phraseFrames.txt", fileKindFreq},
        {"corpus-alpha-phraseframes.txt", fileKindUnknown},
        {"corpus-Alpha-PhraseFrames.txt", fileKindUnknown},
        {"corpus-FREQ-phraseFrames.txt", fileKindUnknown},
        {"notes.txt", fileKindUnknown},
        {"corpus-Freq-phraseFrames.txt.bak", fileKindUnknown},
        {"Alpha-phraseFrames.txt.old", fileKindUnknown},
        {"req-phraseFrames.txt", fileKindUnknown},
        {"lpha-phraseFrames.txt", fileKindUnknown},
        {"", fileKindUnknown},
        {"xAlpha-phraseFrames.txt ", fileKindUnknown},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyFileName(c.name), c.kind) << c.name;
}

TEST(FileKind, DescriptionsAndFolder)
{
    EXPECT_STREQ(sortDescriptionFor(fileKindAlpha), "sorted alphabetically in ascending order");
    EXPECT_STREQ(sortDescriptionFor(fileKindFreq), "sorted by frequency rank in descending order");
    EXPECT_STREQ(sortDescriptionFor(fileKindUnknown), "");

    EXPECT_EQ(folderOfChoice("C:\\data\\x-Freq-phraseFrames.txt"), "C:\\data\\");
    EXPECT_EQ(folderOfChoice("C:\\data/sub/x.txt"), "C:\\data/sub/");
    EXPECT_EQ(folderOfChoice("C:/a\\b.txt"), "C:/a\\");
    EXPECT_EQ(folderOfChoice("x.txt"), "");
    EXPECT_EQ(folderOfChoice(""), "");
}
