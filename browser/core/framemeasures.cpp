#include "browser/core/framemeasures.h"

#include "common/core/frameformat.h"
#include "common/core/text.h"

#include <algorithm>
#include <cstring>

std::wstring fileBesideFrames(const std::wstring& frameFileName, const char* fileEnding)
{
    for (const char* ending : {alphaFileEnding, freqFileEnding}) {
        const size_t length = std::strlen(ending);
        if (frameFileName.size() >= length &&
            std::equal(ending, ending + length, frameFileName.end() - static_cast<std::ptrdiff_t>(length)))
            return frameFileName.substr(0, frameFileName.size() - length) +
                   std::wstring(fileEnding, fileEnding + std::strlen(fileEnding));
    }
    return std::wstring();
}

std::wstring statsFileFor(const std::wstring& frameFileName)
{
    return fileBesideFrames(frameFileName, statsFileEnding);
}

namespace {

// What ties a row to its frame: the frame's own fields, as texts.
using FrameKey = FrameFields;

bool operator==(const FrameKey& a, const FrameKey& b)
{
    return a.frame == b.frame && a.frequency == b.frequency && a.variants == b.variants;
}

// The frame's fields of a record's header line, after the rank.
FrameKey keyOf(const std::string& record)
{
    const std::string_view header = std::string_view(record).substr(0, findCrLf(record));
    const size_t rankEnd = header.find(frameFieldSeparator);
    FrameKey key;
    if (rankEnd != std::string_view::npos)
        readFrameFields(header.substr(rankEnd + 1), key);
    return key;
}

// The records 1..count (as record numbers) by falling frequency, equal
// frequencies in the records' order.
std::vector<int32_t> frequencyOrder(const std::vector<std::string>& records, size_t count)
{
    std::vector<uint64_t> frequencies(count + 1);
    std::vector<int32_t> order(count);
    for (size_t k = 1; k <= count; ++k) {
        for (char c : keyOf(records[k]).frequency)
            frequencies[k] = isDigit(c) ? frequencies[k] * 10 + static_cast<uint64_t>(c - '0') : frequencies[k];
        order[k - 1] = static_cast<int32_t>(k);
    }
    auto falling = [&](int32_t a, int32_t b) {
        return frequencies[static_cast<size_t>(a)] > frequencies[static_cast<size_t>(b)];
    };
    if (!std::is_sorted(order.begin(), order.end(), falling)) // the Freq file is
        std::stable_sort(order.begin(), order.end(), falling);
    return order;
}

uint64_t frameHash(std::string_view frame)
{
    uint64_t hash = 14695981039346656037u; // FNV-1a
    for (unsigned char c : frame) {
        hash ^= c;
        hash *= 1099511628211u;
    }
    return hash;
}

// An open-addressing table of the row numbers by frame text, at most half
// full: a slot holds a row number, or -1.
std::vector<int32_t> rowsByFrame(const std::vector<FrameKey>& rows)
{
    size_t size = 2;
    while (size < 2 * rows.size())
        size *= 2;
    std::vector<int32_t> slots(size, -1);
    for (size_t r = 0; r < rows.size(); ++r) {
        size_t slot = frameHash(rows[r].frame) & (size - 1);
        while (slots[slot] >= 0)
            slot = (slot + 1) & (size - 1);
        slots[slot] = static_cast<int32_t>(r);
    }
    return slots;
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

    // makeframes writes the rows by falling frequency, equal frequencies in
    // the Alpha file's order: the Freq file's frames meet their rows in
    // place, and the Alpha file's once put in that order. That is checked as
    // the rows are read; rows in any other order (a table re-sorted in a
    // spreadsheet) find their frames by frame text, in a second reading.
    const size_t frameCount = static_cast<size_t>(std::max(count, 0));
    std::vector<int32_t> frameOfRow = frequencyOrder(records, frameCount);
    auto keyOfRow = [](const StatsRow& row) {
        return FrameKey{row.fields[statsFrameColumn], row.fields[statsFrequencyColumn], row.fields[statsVariantsColumn]};
    };
    std::vector<int64_t> values;
    values.reserve(frameCount * measureCount);
    size_t rowCount = 0;
    bool inOrder = true;
    std::string problem = readStatsText(statsText, [&](const StatsRow& row) {
        inOrder = inOrder && rowCount < frameCount && keyOf(records[frameOfRow[rowCount]]) == keyOfRow(row);
        ++rowCount;
        for (size_t column : statsColumnOf)
            values.push_back(row.values[column]);
    });
    if (!problem.empty())
        return problem;
    if (rowCount != frameCount)
        return otherFrames("it has " + std::to_string(rowCount) + " rows for the " + std::to_string(frameCount) +
                           " frames of " + frameFileName);

    if (!inOrder) {
        std::vector<FrameKey> rows;
        rows.reserve(frameCount);
        readStatsText(statsText, [&](const StatsRow& row) { rows.push_back(keyOfRow(row)); });
        const std::vector<int32_t> slots = rowsByFrame(rows);
        const size_t mask = slots.size() - 1;
        std::fill(frameOfRow.begin(), frameOfRow.end(), 0);
        for (size_t k = 1; k <= frameCount; ++k) {
            const FrameKey frame = keyOf(records[k]);
            // The first row of that frame text not taken by an earlier frame.
            int32_t found = -1;
            for (size_t slot = frameHash(frame.frame) & mask; slots[slot] >= 0 && found < 0; slot = (slot + 1) & mask) {
                const auto row = static_cast<size_t>(slots[slot]);
                if (frameOfRow[row] == 0 && rows[row].frame == frame.frame)
                    found = slots[slot];
            }
            if (found < 0)
                return otherFrames(frameFileName + " has the frame \"" + std::string(frame.frame) +
                                   "\", and no row in it is for that frame");
            const FrameKey& row = rows[static_cast<size_t>(found)];
            if (!(frame == row))
                return otherFrames("its row for the frame \"" + std::string(row.frame) + "\" gives frequency " +
                                   std::string(row.frequency) + " and " + std::string(row.variants) +
                                   " variants, where " + frameFileName + " has " + std::string(frame.frequency) +
                                   " and " + std::string(frame.variants));
            frameOfRow[static_cast<size_t>(found)] = static_cast<int32_t>(k);
        }
    }
    // The values into rank order, unless they are in it already.
    bool byRank = true;
    for (size_t r = 0; r < frameCount && byRank; ++r)
        byRank = frameOfRow[r] == static_cast<int32_t>(r + 1);
    if (!byRank) {
        std::vector<int64_t> inRankOrder(values.size());
        for (size_t r = 0; r < frameCount; ++r)
            std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(r * measureCount), measureCount,
                        inRankOrder.begin() + static_cast<std::ptrdiff_t>(frameOfRow[r] - 1) * measureCount);
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
