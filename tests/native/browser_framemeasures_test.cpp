// Stats rows matched to the frames of the file beside them, and shown as
// list cells.
#include "browser/core/framefile.h"
#include "browser/core/framemeasures.h"
#include "common/core/text.h"
#include "tests/support/madeframes.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

namespace {

const char corpus[] = "The cat sat. The cat ran. A dog sat. The dog ran. A cat ran.";

struct Loaded {
    std::vector<std::string> records;
    int32_t count = 0;
};

Loaded load(const std::string& content)
{
    Loaded loaded;
    int32_t variants = 0;
    buildFrameRecords(content, loaded.records, loaded.count, variants);
    return loaded;
}

// The measure cells of every frame, by frame, TAB-joined as the Stats file
// has them.
std::map<std::string, std::string> measureCells(const Loaded& loaded, const FrameMeasures& measures)
{
    std::map<std::string, std::string> cells;
    for (int32_t k = 1; k <= loaded.count; ++k) {
        std::string text;
        appendMeasureFields(text, loaded.records[k], measures);
        cells[headerField(loaded.records[k], 2)] = text;
    }
    return cells;
}

// The same from the Stats file's own rows (top variant left out).
std::map<std::string, std::string> statsCells(const std::string& stats)
{
    std::map<std::string, std::string> cells;
    readStatsText(stats, [&](const StatsRow& row) {
        std::string& text = cells[std::string(row.fields[0])];
        for (size_t c : {3, 5, 6, 7, 8, 9})
            text += "\t" + std::string(row.fields[c]);
    });
    return cells;
}

} // namespace

TEST(FrameMeasures, EachFrameOfEitherFileGetsItsOwnRow)
{
    const MadeFiles made = makeFrames(corpus);
    // The rows as a spreadsheet may leave them: in reverse.
    const std::string header = statsHeaderLine();
    const std::vector<std::string_view> rows = splitCrLfLines(std::string_view(made.stats).substr(header.size()));
    const std::string reversed = std::accumulate(rows.rbegin() + 1, rows.rend(), header,
                                                 [](std::string text, std::string_view row) {
                                                     return text + std::string(row) + "\r\n";
                                                 });
    const std::string* const files[] = {&made.freq, &made.alpha};
    const std::string* const tables[] = {&made.stats, &reversed};
    for (const std::string* file : files) {
        for (const std::string* stats : tables) {
            const Loaded loaded = load(*file);
            ASSERT_GT(loaded.count, 2);
            FrameMeasures measures;
            EXPECT_EQ(readFrameMeasures(*stats, loaded.records, loaded.count, "c-Freq-phraseFrames.txt", measures),
                      "");
            EXPECT_TRUE(measures.shown);
            EXPECT_EQ(shownColumnCount(measures), 10);
            EXPECT_EQ(measureCells(loaded, measures), statsCells(made.stats));
        }
    }
}

TEST(FrameMeasures, AStatsFileOfOtherFramesIsRefusedAndSaysWhy)
{
    const MadeFiles made = makeFrames(corpus);
    const std::string header = statsHeaderLine();
    const std::string rows = made.stats.substr(header.size());
    const std::string firstRow = rows.substr(0, rows.find("\r\n") + 2);
    const std::string otherRows = rows.substr(firstRow.size());
    const std::string firstFrame = firstRow.substr(0, firstRow.find('\t'));
    // The first row with its frequency one higher.
    std::string recounted = firstRow;
    const size_t frequencyAt = recounted.find('\t') + 1;
    const size_t frequencyEnd = recounted.find('\t', frequencyAt);
    const std::string frequency = recounted.substr(frequencyAt, frequencyEnd - frequencyAt);
    recounted.replace(frequencyAt, frequencyEnd - frequencyAt, std::to_string(std::stoi(frequency) + 1));
    const std::string variants = recounted.substr(recounted.find('\t', frequencyAt) + 1).substr(0, 1);

    const struct {
        const char* name;
        std::string stats;
        std::string problem;
    } cases[] = {
        {"another text's", makeFrames("Go on. Go up. Go on. Go in.").stats,
         "it belongs to other frames: it has 1 rows for the "},
        {"a row missing", header + otherRows, "it belongs to other frames: it has "},
        {"a row for another frame", header + "# *" + firstRow.substr(firstFrame.size()) + otherRows,
         "it belongs to other frames: f-Freq-phraseFrames.txt has the frame \"" + firstFrame +
             "\", and no row in it is for that frame"},
        {"another frequency", header + recounted + otherRows,
         "it belongs to other frames: its row for the frame \"" + firstFrame + "\" gives frequency " +
             std::to_string(std::stoi(frequency) + 1) + " and " + variants + " variants, where "
             "f-Freq-phraseFrames.txt has " + frequency + " and " + variants},
        {"cut short", made.stats.substr(0, made.stats.size() - 3), "it is cut short: its line "},
    };
    for (const std::string* file : {&made.freq, &made.alpha}) {
        const Loaded loaded = load(*file);
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            FrameMeasures measures;
            measures.shown = true;
            const std::string problem =
                readFrameMeasures(c.stats, loaded.records, loaded.count, "f-Freq-phraseFrames.txt", measures);
            EXPECT_EQ(problem.substr(0, c.problem.size()), c.problem) << problem;
            EXPECT_FALSE(measures.shown);
            EXPECT_EQ(shownColumnCount(measures), 4);
        }
    }
}

TEST(FrameMeasures, TheStatsFileBesideAFrameFile)
{
    const struct {
        const wchar_t* frameFile;
        const wchar_t* statsFile;
    } cases[] = {
        {L"C:\\c\\corpus-Freq-phraseFrames.txt", L"C:\\c\\corpus-Stats.txt"},
        {L"C:\\c\\corpus-3-Alpha-phraseFrames.txt", L"C:\\c\\corpus-3-Stats.txt"},
        {L"C:\\c\\corpusFreq-phraseFrames.txt", L""},
        {L"C:\\c\\corpus-freq-phraseframes.txt", L""},
        {L"C:\\c\\corpus.txt", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(statsFileFor(c.frameFile), c.statsFile);
}
