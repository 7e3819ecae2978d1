#include "stopwords/core/textlines.h"

#include "common/core/text.h"
#include "stopwords/core/textencoding.h"

#include <cstring>

namespace {

bool isLineEndOrCtrlZ(char c)
{
    return c == '\r' || c == '\n' || c == ctrlZ;
}

// Filters one line and writes it with its line end when it is kept. The
// line end is empty for a line ended by Ctrl-Z or by the end of the file.
// Returns whether the line was kept.
bool keepOrRemove(LineFilter& filter, std::string_view line, std::string_view lineEnd,
                  const StopwordTest& isStopword, std::string& kept)
{
    if (filter.atFileStart) {
        filter.atFileStart = false;
        if (line.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark) {
            kept.append(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
            line.remove_prefix(utf8ByteOrderMark.size());
            // The mark alone before a Ctrl-Z or the end is no line.
            if (line.empty() && lineEnd.empty())
                return false;
        }
    }
    if (lineIsRemoved(line, isStopword)) {
        ++filter.linesRemoved;
        return false;
    }
    kept.append(line.data(), line.size());
    kept.append(lineEnd.data(), lineEnd.size());
    return true;
}

} // namespace

std::vector<std::string> splitTextLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    // A Ctrl-Z where a line would start ends the text without giving a line.
    while (pos < text.size() && text[pos] != ctrlZ) {
        size_t end = text.find_first_of(std::string_view("\r\x1a", 2), pos);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(pos));
            break;
        }
        lines.emplace_back(text.substr(pos, end - pos));
        if (text[end] == ctrlZ)
            break;
        pos = end + 1;
        if (pos < text.size() && text[pos] == '\n')
            ++pos;
    }
    return lines;
}

std::vector<std::string> stopwordListLines(std::string_view listText)
{
    if (encodingByMark(listText) == TextEncoding::utf8)
        listText.remove_prefix(utf8ByteOrderMark.size());
    std::vector<std::string> lines;
    for (const std::string& line : splitTextLines(listText)) {
        size_t start = 0;
        for (;;) {
            size_t lf = line.find('\n', start);
            lines.push_back(line.substr(start, lf == std::string::npos ? lf : lf - start));
            if (lf == std::string::npos)
                break;
            start = lf + 1;
        }
    }
    return lines;
}

std::string stopwordEntry(std::string_view line)
{
    std::string_view entry = line.substr(0, line.find('|'));
    size_t first = entry.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::string();
    size_t last = entry.find_last_not_of(' ');
    return std::string(entry.substr(first, last - first + 1));
}

std::vector<std::string> stopwordEntries(std::string_view listText)
{
    std::vector<std::string> entries;
    for (const std::string& line : stopwordListLines(listText)) {
        std::string entry = stopwordEntry(line);
        if (!entry.empty())
            entries.push_back(std::move(entry));
    }
    return entries;
}

std::string_view keyColumn(std::string_view line)
{
    const void* tab = std::memchr(line.data(), '\t', line.size());
    size_t end = tab ? static_cast<size_t>(static_cast<const char*>(tab) - line.data()) : line.size();
    return trimBlanks(line.substr(0, end));
}

bool lineIsRemoved(std::string_view line, const StopwordTest& isStopword)
{
    std::string_view key = keyColumn(line);
    if (key.empty())
        return true;
    size_t start = 0;
    for (;;) {
        size_t blank = key.find(' ', start);
        std::string_view word = key.substr(start, blank == std::string_view::npos ? blank : blank - start);
        if (!word.empty() && isStopword(word))
            return true;
        if (blank == std::string_view::npos)
            return false;
        start = blank + 1;
    }
}

void filterBytes(LineFilter& filter, const char* data, size_t size, const StopwordTest& isStopword,
                 std::string& kept)
{
    if (filter.textEnded) {
        kept.append(data, size);
        return;
    }
    const char* end = data + size;
    const char* p = data;
    // The LF of a CR LF pair split between two chunks.
    if (filter.lineEndedByCr && p < end) {
        filter.lineEndedByCr = false;
        if (*p == '\n') {
            if (filter.crEndedLineKept)
                kept += '\n';
            ++p;
        }
    }
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && !isLineEndOrCtrlZ(*lineEnd))
            ++lineEnd;
        if (lineEnd == end) {
            filter.pendingLine.append(p, end - p);
            return;
        }
        std::string_view line(p, lineEnd - p);
        if (!filter.pendingLine.empty()) {
            filter.pendingLine.append(p, lineEnd - p);
            line = filter.pendingLine;
        }
        if (*lineEnd == ctrlZ) {
            // A Ctrl-Z at the start of a line gives no line of its own.
            if (!line.empty())
                keepOrRemove(filter, line, std::string_view(), isStopword, kept);
            filter.pendingLine.clear();
            filter.textEnded = true;
            kept.append(lineEnd, end - lineEnd);
            return;
        }
        // The line end as it is in the file: CR LF, CR or LF.
        size_t endLength = 1;
        if (*lineEnd == '\r' && lineEnd + 1 < end && lineEnd[1] == '\n')
            endLength = 2;
        bool lineKept = keepOrRemove(filter, line, std::string_view(lineEnd, endLength), isStopword, kept);
        filter.pendingLine.clear();
        p = lineEnd + endLength;
        if (*lineEnd == '\r' && endLength == 1 && p == end) {
            filter.lineEndedByCr = true;
            filter.crEndedLineKept = lineKept;
        }
    }
}

void finishFiltering(LineFilter& filter, const StopwordTest& isStopword, std::string& kept)
{
    if (!filter.pendingLine.empty()) {
        keepOrRemove(filter, filter.pendingLine, std::string_view(), isStopword, kept);
        filter.pendingLine.clear();
    }
    filter.lineEndedByCr = false;
}
