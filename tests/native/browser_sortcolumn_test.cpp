#include "browser/core/framefile.h"
#include "tests/support/celltext.h"
#include "browser/core/listsort.h"
#include "browser/core/sortcolumn.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Frames as the loader builds them, from records of "frame TAB frequency TAB
// count" header lines with their variant lines.
std::vector<std::string> loadFrames(const std::vector<std::string>& fileRecords)
{
    std::string content;
    for (const std::string& record : fileRecords)
        content += record + "\r\n\r\n";
    std::vector<std::string> frames;
    int32_t count = 0, variants = 0;
    buildFrameRecords(content, frames, count, variants);
    return frames;
}

// Column `column` of every row, joined with "|".
std::string columnOf(const std::vector<std::string>& frames, int column)
{
    std::string out;
    for (size_t k = 1; k < frames.size(); ++k)
        out += (k > 1 ? "|" : "") + cellText(frames[k], column);
    return out;
}

const std::vector<std::string> freqFile = {
    "the * of\t90\t3\r\nthe end of\t50\r\nthe top of\t30\r\nthe use of\t10",
    "in the *\t40\t10\r\nin the end\t4",
    "a * of\t40\t9\r\na lot of\t40",
    "Zero *\t7\t2\r\nZero one\t7",
    "at *\t5\t1\r\nat last\t5",
};

} // namespace

TEST(SortColumn, ResetMarksTheFileOrderColumn)
{
    int32_t state[5] = {9, 9, 9, 9, 9};
    resetSortState(state, 1);
    EXPECT_EQ(state[1], 0);
    EXPECT_EQ(state[2], 0);
    EXPECT_EQ(state[3], -1);
    EXPECT_EQ(state[4], 0);
    resetSortState(state, 0);
    EXPECT_EQ(state[1], 0);
    EXPECT_EQ(state[2], -1);
    EXPECT_EQ(state[3], 0);
    EXPECT_EQ(state[4], 0);
}

TEST(SortColumn, FrequencyFileClicks)
{
    std::vector<std::string> frames = loadFrames(freqFile);
    int32_t state[5];
    resetSortState(state, 1);
    std::string description;

    sortByColumn(frames, 5, state, 3, description);
    EXPECT_EQ(description, "sorted by frequency in ascending order");
    EXPECT_EQ(state[3], 0);
    EXPECT_EQ(columnOf(frames, 3), "5|7|40|40|90");

    sortByColumn(frames, 5, state, 3, description);
    EXPECT_EQ(description, "sorted by frequency in descending order");
    EXPECT_EQ(state[3], -1);
    EXPECT_EQ(columnOf(frames, 3), "90|40|40|7|5");

    sortByColumn(frames, 5, state, 2, description);
    EXPECT_EQ(description, "sorted by phrase frame in ascending order");
    EXPECT_EQ(columnOf(frames, 2), "Zero *|a * of|at *|in the *|the * of");
    EXPECT_EQ(state[3], -1) << "other columns keep their flags";

    sortByColumn(frames, 5, state, 4, description);
    EXPECT_EQ(description, "sorted by variants in descending order");
    EXPECT_EQ(columnOf(frames, 4), "10|9|3|2|1");

    sortByColumn(frames, 5, state, 1, description);
    EXPECT_EQ(description, "sorted by frequency rank in descending order");
    EXPECT_EQ(columnOf(frames, 1), "5|4|3|2|1");

    // Each record moves whole, with its own variant lines.
    EXPECT_EQ(frames[4], "2\t" + freqFile[1]);
}

TEST(SortColumn, AlphabeticalFileClicks)
{
    std::vector<std::string> frames = loadFrames(freqFile);
    int32_t state[5];
    resetSortState(state, 0);
    std::string description;

    sortByColumn(frames, 5, state, 2, description);
    EXPECT_EQ(description, "sorted by phrase frame in descending order");
    EXPECT_EQ(columnOf(frames, 2), "the * of|in the *|at *|a * of|Zero *");

    sortByColumn(frames, 5, state, 1, description);
    EXPECT_EQ(description, "sorted by frequency rank in descending order");
    EXPECT_EQ(columnOf(frames, 1), "5|4|3|2|1");

    sortByColumn(frames, 5, state, 1, description);
    EXPECT_EQ(description, "sorted by frequency rank in ascending order");
    EXPECT_EQ(columnOf(frames, 1), "1|2|3|4|5");
}

TEST(SortColumn, PhraseFramesInByteOrder)
{
    std::vector<std::string> frames = loadFrames(
        {"\xe9t\xe9 *\t1\t0", "abc *\t1\t0", "abc\t1\t0", "Xyz\t1\t0", "Abc\t1\t0", "ab\t1\t0"});
    int32_t state[5] = {0, 0, 0, 0, 0};
    std::string description;
    sortByColumn(frames, 6, state, 2, description);
    EXPECT_EQ(description, "sorted by phrase frame in ascending order");
    EXPECT_EQ(columnOf(frames, 2), "Abc|Xyz|ab|abc|abc *|\xe9t\xe9 *");
}

TEST(SortColumn, EqualKeysReorderOnEachClick)
{
    std::vector<std::string> frames =
        loadFrames({"A\t5\t0", "B\t5\t0", "C\t5\t0", "D\t5\t0", "E\t5\t0"});
    int32_t state[5] = {0, 0, 0, 0, 0};
    std::string description;
    sortByColumn(frames, 5, state, 3, description);
    EXPECT_EQ(columnOf(frames, 2), "D|E|C|A|B");
    sortByColumn(frames, 5, state, 3, description);
    EXPECT_EQ(columnOf(frames, 2), "A|B|C|D|E");
}

TEST(SortColumn, NoFramesStillTogglesAndDescribes)
{
    std::vector<std::string> frames(1);
    int32_t state[5] = {0, 0, 0, 0, 0};
    std::string description = "before";
    sortByColumn(frames, 0, state, 4, description);
    EXPECT_EQ(state[4], -1);
    EXPECT_EQ(description, "sorted by variants in descending order");
    sortByColumn(frames, 0, state, 2, description);
    EXPECT_EQ(description, "sorted by phrase frame in ascending order");
    EXPECT_EQ(frames.size(), 1u);
}

TEST(SortColumn, NumericKeysFromUnusualFields)
{
    // A missing field, a non-number and a fraction all sort by their value.
    std::vector<std::string> frames = loadFrames({"a\t3.5\t1", "b\tmany\t1", "c", "d\t-2\t1", "e\t2.5\t1"});
    int32_t state[5] = {0, 0, 0, 0, 0};
    std::string description;
    sortByColumn(frames, 5, state, 3, description);
    EXPECT_EQ(columnOf(frames, 2), "a|e|c|b|d");
}

// The Phrase-Frame keys are views into the records. Records of up to 15
// bytes keep their text inside the string object, so moving such records
// during the sort would change what a view sees; the result must equal a
// sort of copied keys carrying the records, step for step (ties included).
TEST(SortColumn, PhraseFrameViewsGiveTheSameOrderAsCopiedKeys)
{
    std::mt19937 random(11);
    std::vector<std::string> fileRecords;
    for (int i = 0; i < 2000; ++i) {
        std::string frame(1, static_cast<char>('a' + random() % 4));
        if (random() % 3 == 0)
            frame += std::string(20, static_cast<char>('a' + random() % 3)); // a record beyond 15 bytes
        fileRecords.push_back(frame + "\t" + std::to_string(random() % 9) + "\t0");
    }
    std::vector<std::string> frames = loadFrames(fileRecords);
    const int32_t count = static_cast<int32_t>(fileRecords.size());
    int32_t state[5] = {0, 0, 0, 0, 0};
    std::string description;

    for (int click = 0; click < 3; ++click) {
        SCOPED_TRACE(click);
        std::vector<std::string> expected = frames;
        std::vector<std::string> keys(expected.size());
        for (size_t k = 1; k < expected.size(); ++k)
            keys[k] = headerField(expected[k], 2);
        const bool descending = state[2] != 0; // a set flag clears: descending
        listSort(keys, &expected, 1, count, descending);

        sortByColumn(frames, count, state, 2, description);
        ASSERT_EQ(frames, expected);
    }
}
