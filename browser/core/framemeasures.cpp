#include "browser/core/framemeasures.h"

#include "browser/core/listsort.h"
#include "common/core/text.h"

#include <algorithm>
#include <cstring>

std::wstring statsFileFor(const std::wstring& frameFileName)
{
    for (const char* ending : {"-Alpha-phraseFrames.txt", "-Freq-phraseFrames.txt"}) {
        const size_t length = std::strlen(ending);
        if (frameFileName.size() >= length &&
            std::equal(ending, ending + length, frameFileName.end() - static_cast<std::ptrdiff_t>(length)))
            return frameFileName.substr(0, frameFileName.size() - length) +
                   std::wstring(statsFileEnding, statsFileEnding + std::strlen(statsFileEnding));
    }
    return std::wstring();
}

namespace {

// What ties a row to its frame: the frame's own fields, as texts.
struct FrameKey {
    std::string_view frame;
    std::string_view frequency;
    std::string_view variants;
};

bool operator==(const FrameKey& a, const FrameKey& b)
{
    return a.frame == b.frame && a.frequency == b.frequency && a.variants == b.variants;
}

// Fields 2 to 4 of a record's header line.
FrameKey keyOf(const std::string& record)
{
    const size_t lineEnd = findCrLf(record);
    const std::string_view header = std::string_view(record).substr(0, lineEnd);
    std::string_view fields[4];
    size_t from = 0;
    for (int n = 0; n < 4 && from <= header.size(); ++n) {
        const size_t tab = header.find('\t', from);
        fields[n] = header.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
        from = tab == std::string_view::npos ? header.size() + 1 : tab + 1;
    }
    return {fields[1], fields[2], fields[3]};
}

std::string otherFrames(const std::string& what)
{
    return "it belongs to other frames: " + what;
}

} // namespace

std::string readFrameMeasures(std::string_view statsText, const std::vector<std::string>& records,
                              int32_t count, const std::string& frameFileName, FrameMeasures& measures)
{
    measures = FrameMeasures();
    size_t statsColumnOf[measureCount];
    for (int m = 0; m < measureCount; ++m)
        statsColumnOf[m] = statsColumnIndex(listColumns[recordColumnCount + m].statsHeading);

    // Sized for one row per line: a table of a million rows grows no copies.
    const size_t lines = static_cast<size_t>(std::count(statsText.begin(), statsText.end(), '\n'));
    std::vector<FrameKey> rows;
    rows.reserve(lines);
    std::vector<int64_t> values;
    values.reserve(lines * measureCount);
    std::string problem = readStatsText(statsText, [&](const StatsRow& row) {
        rows.push_back({row.fields[statsFrameColumn], row.fields[statsFrequencyColumn], row.fields[statsVariantsColumn]});
        for (size_t column : statsColumnOf)
            values.push_back(row.values[column]);
    });
    if (!problem.empty())
        return problem;
    const size_t frameCount = static_cast<size_t>(std::max(count, 0));
    if (rows.size() != frameCount)
        return otherFrames("it has " + std::to_string(rows.size()) + " rows for the " + std::to_string(frameCount) +
                           " frames of " + frameFileName);

    // makeframes writes the rows in the Freq file's order: that file's frames
    // meet their rows in place. The Alpha file's are paired by frame text.
    bool inPlace = true;
    for (size_t k = 0; k < frameCount && inPlace; ++k)
        inPlace = keyOf(records[k + 1]) == rows[k];
    if (!inPlace) {
        auto byFrame = [](const FrameKey& a, const FrameKey& b) { return keyLess(a.frame, b.frame); };
        std::vector<int32_t> frameOrder(frameCount);
        std::vector<int32_t> rowOrder(frameCount);
        std::vector<FrameKey> frameKeys(frameCount);
        for (size_t k = 0; k < frameCount; ++k) {
            frameKeys[k] = keyOf(records[k + 1]);
            frameOrder[k] = rowOrder[k] = static_cast<int32_t>(k);
        }
        std::sort(frameOrder.begin(), frameOrder.end(),
                  [&](int32_t a, int32_t b) { return byFrame(frameKeys[a], frameKeys[b]); });
        std::sort(rowOrder.begin(), rowOrder.end(), [&](int32_t a, int32_t b) { return byFrame(rows[a], rows[b]); });
        std::vector<int64_t> inRankOrder(values.size());
        for (size_t k = 0; k < frameCount; ++k) {
            const FrameKey& frame = frameKeys[frameOrder[k]];
            const FrameKey& row = rows[rowOrder[k]];
            if (byFrame(frame, row))
                return otherFrames(frameFileName + " has the frame \"" + std::string(frame.frame) +
                                   "\", and no row in it is for that frame");
            if (byFrame(row, frame))
                return otherFrames("it has a row for the frame \"" + std::string(row.frame) + "\", which " +
                                   frameFileName + " does not have");
            if (!(frame == row))
                return otherFrames("its row for the frame \"" + std::string(row.frame) + "\" gives frequency " +
                                   std::string(row.frequency) + " and " + std::string(row.variants) +
                                   " variants, where " + frameFileName + " has " + std::string(frame.frequency) +
                                   " and " + std::string(frame.variants));
            std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(rowOrder[k]) * measureCount, measureCount,
                        inRankOrder.begin() + static_cast<std::ptrdiff_t>(frameOrder[k]) * measureCount);
        }
        values.swap(inRankOrder);
    }
    measures.shown = true;
    measures.values.swap(values);
    return std::string();
}

std::string measuresRefusedText(const std::string& statsFileName, const std::string& problem)
{
    return statsFileName + "\r\nis not used: " + problem + ".\r\n\r\nThe list is shown without its measures.";
}
