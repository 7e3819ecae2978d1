#include "framefile.h"

#include "browser/core/panetext.h"
#include "common/core/frameformat.h"
#include "common/core/numbertext.h"
#include "common/core/text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

namespace {

bool isTrimByte(char c)
{
    return c == ' ' || c == '\r' || c == '\n' || c == '\t';
}

// Length of text up to the first CR LF (all of it when there is none).
size_t headerLength(const std::string& record)
{
    size_t lineEnd = findCrLf(record);
    return lineEnd == std::string::npos ? record.size() : lineEnd;
}

FieldSpan fieldOf(const char* text, size_t length, int n)
{
    if (n < 1)
        return {text + length, 0};
    const char* end = text + length;
    const char* start = text;
    for (int k = 1; k < n; ++k) {
        const void* tab = std::memchr(start, '\t', static_cast<size_t>(end - start));
        if (tab == nullptr)
            return {end, 0};
        start = static_cast<const char*>(tab) + 1;
    }
    const void* tab = std::memchr(start, '\t', static_cast<size_t>(end - start));
    const char* stop = tab == nullptr ? end : static_cast<const char*>(tab);
    return {start, static_cast<size_t>(stop - start)};
}

} // namespace

void buildFrameRecords(const std::string& content, std::vector<std::string>& records,
                       int32_t& recordCount, int32_t& variantTotal)
{
    // Free the previous file's records first: the content and the new records
    // already need about twice the file size.
    std::vector<std::string>().swap(records);

    const char* data = content.data();
    const size_t size = content.size();

    // One pass finds the record separators (CR LF CR LF, leftmost first, not
    // overlapping each other).
    std::vector<size_t> separators;
    size_t nextSeparatorFrom = 0;
    size_t pos = 0;
    while (pos < size) {
        const void* cr = std::memchr(data + pos, '\r', size - pos);
        if (cr == nullptr)
            break;
        pos = static_cast<size_t>(static_cast<const char*>(cr) - data);
        if (pos + 1 < size && data[pos + 1] == '\n') {
            if (pos >= nextSeparatorFrom && pos + 3 < size && data[pos + 2] == '\r' &&
                data[pos + 3] == '\n') {
                separators.push_back(pos);
                nextSeparatorFrom = pos + 4;
            }
            pos += 2;
        } else {
            pos += 1;
        }
    }

    auto pieceStart = [&](size_t k) { return k == 0 ? size_t(0) : separators[k - 1] + 4; };
    auto pieceStop = [&](size_t k) { return k < separators.size() ? separators[k] : size; };

    size_t pieces = separators.size() + 1;
    {
        size_t start = pieceStart(pieces - 1);
        size_t stop = pieceStop(pieces - 1);
        while (start < stop && isTrimByte(data[start]))
            ++start;
        if (start == stop)
            --pieces;
    }

    records.reserve(pieces + 1);
    records.emplace_back();
    int64_t variantLineCount = 0;
    for (size_t k = 0; k < pieces; ++k) {
        size_t start = pieceStart(k);
        size_t stop = pieceStop(k);
        while (start < stop && isTrimByte(data[start]))
            ++start;
        while (stop > start && isTrimByte(data[stop - 1]))
            --stop;
        char rank[24];
        char* rankEnd = std::to_chars(rank, rank + sizeof rank, k + 1).ptr;
        size_t rankLength = static_cast<size_t>(rankEnd - rank);
        std::string record;
        record.reserve(rankLength + 1 + (stop - start));
        record.append(rank, rankLength);
        record += '\t';
        record.append(data + start, stop - start);
        // The record's lines after its header line.
        const size_t lines = lineCount(std::string_view(data + start, stop - start));
        variantLineCount += lines > 0 ? static_cast<int64_t>(lines - 1) : 0;
        records.push_back(std::move(record));
    }

    recordCount = static_cast<int32_t>(pieces);
    variantTotal = static_cast<int32_t>(std::min<int64_t>(variantLineCount, INT32_MAX));
}

bool looksLikePhraseFrames(const std::vector<std::string>& records, int32_t recordCount)
{
    if (recordCount < 1)
        return true;
    const auto last = static_cast<int32_t>(std::min<int64_t>(recordCount, static_cast<int64_t>(records.size()) - 1));
    for (int32_t i = 1; i <= last; ++i) {
        const std::string& record = records[static_cast<size_t>(i)];
        const size_t length = headerLength(record);
        const void* rankEnd = std::memchr(record.data(), '\t', length);
        if (rankEnd == nullptr)
            continue;
        const char* line = static_cast<const char*>(rankEnd) + 1;
        const size_t lineLength = length - static_cast<size_t>(line - record.data());
        const std::string_view header(line, lineLength);
        FrameFields fields;
        if (readFrameFields(header, fields) && header.find('\n') == std::string_view::npos)
            return true;
    }
    return false;
}

std::string notPhraseFramesText(const std::string& fileName)
{
    return fileName + "\r\ndoes not look like a phrase-frame file: no line in it holds a phrase frame, "
                      "its frequency and its number of variants separated by TABs.\r\n\r\n"
                      "It is shown as it was read.";
}

std::string shortFileName(const std::string& fileName)
{
    size_t slash = fileName.rfind('\\');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

std::string statusText(int32_t recordCount, int32_t variantTotal, const std::string& fileName)
{
    return formatThousands(recordCount) + " phrase-frames with " + formatThousands(variantTotal) +
           " variants in " + shortFileName(fileName) + "." + "\r" +
           "Select item to show phrase variants. Click on heading to re-sort.";
}

FieldSpan recordField(const std::string& record, int n)
{
    return fieldOf(record.data(), record.size(), n);
}

void writeCellText(const std::string& record, int column, char (&cell)[cellTextSize])
{
    FieldSpan field = recordField(record, column);
    size_t length = field.length;
    if (column == 4) {
        const void* cr = std::memchr(field.text, '\r', length);
        if (cr != nullptr)
            length = static_cast<size_t>(static_cast<const char*>(cr) - field.text);
    }
    length = std::min(length, cellTextSize - 1);
    for (size_t i = 0; i < length; ++i)
        cell[i] = field.text[i] == '\0' ? ' ' : field.text[i];
    cell[length] = '\0';
}

std::string headerField(const std::string& record, int n)
{
    FieldSpan field = fieldOf(record.data(), headerLength(record), n);
    return std::string(field.text, field.length);
}

namespace {

std::string labelField(const std::string& record, int n)
{
    return headerField(record, n).substr(0, labelFieldBound);
}

} // namespace

std::string_view wholeVariantLines(const std::string& record)
{
    size_t lineEnd = findCrLf(record);
    return lineEnd == std::string::npos ? std::string_view() : std::string_view(record).substr(lineEnd + 2);
}

std::string frameLabel(const std::string& record, const std::string& note)
{
    std::string label = labelField(record, 2) + ":  rank " + labelField(record, 1) + ", frequency " +
                        labelField(record, 3) + ", variants " + labelField(record, 4) + note;
    blankNuls(label);
    return label;
}

std::string frameSummary(const std::string& record)
{
    const std::string_view variants = wholeVariantLines(record);
    return frameLabel(record, excerptNote(variants, paneExcerpt(variants)));
}

std::string variantLines(const std::string& record)
{
    return paneExcerpt(wholeVariantLines(record)).text;
}

int32_t numberKey(const char* text, size_t length)
{
    const char* p = text;
    const char* end = text + length;
    while (p < end && (*p == ' ' || *p == '\t' || *p == '\n'))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    // The whole part stops growing once it is beyond every 32-bit magnitude;
    // the exact value no longer matters then.
    const uint64_t beyondRange = uint64_t(1) << 32;
    uint64_t whole = 0;
    bool anyDigit = false;
    for (; p < end && isDigit(*p); ++p) {
        anyDigit = true;
        if (whole < beyondRange)
            whole = whole * 10 + static_cast<uint64_t>(*p - '0');
    }

    // Only the first fraction digit and whether any later one is non-zero
    // decide the rounding.
    int firstFraction = 0;
    bool laterFraction = false;
    if (p < end && *p == '.') {
        ++p;
        if (p < end && isDigit(*p)) {
            anyDigit = true;
            firstFraction = *p - '0';
            for (++p; p < end && isDigit(*p); ++p)
                if (*p != '0')
                    laterFraction = true;
        }
    }
    if (!anyDigit)
        return 0;

    bool roundUp = firstFraction > 5 || (firstFraction == 5 && (laterFraction || whole % 2 == 1));
    uint64_t magnitude = whole + (roundUp ? 1 : 0);
    if (negative)
        return magnitude >= uint64_t(1) << 31 ? INT32_MIN : -static_cast<int32_t>(magnitude);
    return magnitude > static_cast<uint64_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(magnitude);
}
