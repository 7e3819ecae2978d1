#include "browser/core/cliptext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(BrowserClipText, FrameCopyDropsRankAndEndsWithEmptyLine)
{
    const struct { const char* record; const char* text; } cases[] = {
        {"7\tat the * of\t412\t2\r\nat the end of\t300\r\nat the top of\t112",
         "at the * of\t412\t2\r\nat the end of\t300\r\nat the top of\t112\r\n\r\n"},
        {"12345\tx\t1\t0", "x\t1\t0\r\n\r\n"},
        {"no tab", "no tab\r\n\r\n"},
        {"", "\r\n\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(frameCopyText(c.record), c.text) << c.record;
}

TEST(BrowserClipText, AllSortedHasHeaderAndRanklessRecords)
{
    const std::vector<std::string> frames = {
        "", "1000\td * e\t5\t1\r\nd x e\t5", "3\ta * b\t9\t2\r\na x b\t6\r\na y b\t3",
        "42\tc * d\t7\t1\r\nc x d\t7", "999\tb * c\t6\t1\r\nb y c\t6",
    };
    EXPECT_EQ(allSortedCopyText(frames, 4, "x-Freq-phraseFrames.txt",
                                "sorted by frequency in descending order"),
              "x-Freq-phraseFrames.txt, 4 phrase-frames,\r\n"
              "sorted by frequency in descending order\r\n\r\n"
              "d * e\t5\t1\r\nd x e\t5\r\n\r\n"
              "a * b\t9\t2\r\na x b\t6\r\na y b\t3\r\n\r\n"
              "c * d\t7\t1\r\nc x d\t7\r\n\r\n"
              "b * c\t6\t1\r\nb y c\t6\r\n\r\n");
}

TEST(BrowserClipText, EmptyNameAndDescriptionLeaveTheirPlaces)
{
    const std::vector<std::string> frames = {"", "1\tf\t1\t0"};
    EXPECT_EQ(allSortedCopyText(frames, 1, "", ""), ", 1 phrase-frames,\r\n\r\n\r\nf\t1\t0\r\n\r\n");
}

TEST(BrowserClipText, ThousandFramesGetACommaAndEveryRankIsDropped)
{
    std::vector<std::string> frames(1);
    std::string expectedBody;
    for (int i = 1; i <= 1000; ++i) {
        frames.push_back(std::to_string(1001 - i) + "\tf" + std::to_string(i) + "\t1\t0");
        expectedBody += "f" + std::to_string(i) + "\t1\t0\r\n\r\n";
    }
    EXPECT_EQ(allSortedCopyText(frames, 1000, "a.txt", "s"),
              "a.txt, 1,000 phrase-frames,\r\ns\r\n\r\n" + expectedBody);
}

TEST(BrowserClipText, RecordWithoutTabIsCopiedWhole)
{
    const std::vector<std::string> frames = {"", "odd record", "2\tg\t1\t0"};
    EXPECT_EQ(allSortedCopyText(frames, 2, "n", "s"),
              "n, 2 phrase-frames,\r\ns\r\n\r\nodd record\r\n\r\ng\t1\t0\r\n\r\n");
}

// A pasting program ends the text at a NUL: the copies hold a blank there,
// so nothing after it is lost.
TEST(BrowserClipText, NulsAreCopiedAsBlanks)
{
    const char record[] = "1\ta\0b\t2\t1\r\nx\0y\t2";
    const std::vector<std::string> frames = {"", std::string(record, sizeof record - 1)};
    EXPECT_EQ(frameCopyText(frames[1]), "a b\t2\t1\r\nx y\t2\r\n\r\n");
    EXPECT_EQ(allSortedCopyText(frames, 1, "n", "s"), "n, 1 phrase-frames,\r\ns\r\n\r\na b\t2\t1\r\nx y\t2\r\n\r\n");
}
