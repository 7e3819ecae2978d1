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

TEST(Layout, ControlsAtUnitScaleOnePointFive)
{
    const float sx = 1.5f;
    const float sy = unitScaleYFor(sx);
    EXPECT_EQ(pctX(85, sx), 453);
    EXPECT_EQ(pctY(110, sy), 322);

    const struct {
        int id;
        int32_t x, y, w, h;
        int32_t exampleX, exampleY, exampleW, exampleH;
    } controls[] = {
        {145, 3, 1, pctX(80, sx), pctY(5.9f, sy), 3, 1, 427, 17},
        {146, pctX(1, sx), pctY(52.6f, sy), pctX(83, sx), pctY(52, sy), 5, 154, 443, 152},
        {144, pctX(1, sx), pctY(46.8f, sy), pctX(38, sx), pctY(5.2f, sy), 5, 137, 203, 15},
        {150, pctX(38.5f, sx), pctY(47, sy), pctX(5.5f, sx), pctY(4, sy), 205, 138, 29, 12},
        {151, pctX(44.5f, sx), pctY(47, sy), pctX(5.5f, sx), pctY(4, sy), 237, 138, 29, 12},
        {147, pctX(50.5f, sx), pctY(47, sy), pctX(18, sx), pctY(4, sy), 269, 138, 96, 12},
        {148, pctX(69, sx), pctY(47, sy), pctX(15, sx), pctY(4, sy), 368, 138, 80, 12},
        {100, pctX(0.8f, sx), pctY(6.6f, sy) + 4, pctX(83, sx), pctY(38.1f, sy), 4, 23, 443, 112},
    };
    for (const auto& c : controls) {
        EXPECT_EQ(c.x, c.exampleX) << c.id;
        EXPECT_EQ(c.y, c.exampleY) << c.id;
        EXPECT_EQ(c.w, c.exampleW) << c.id;
        EXPECT_EQ(c.h, c.exampleH) << c.id;
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
