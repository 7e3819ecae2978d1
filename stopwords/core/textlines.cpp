#include "stopwords/core/textlines.h"

#include "common/core/text.h"

#include <cstring>

namespace {

bool isLineEndOrCtrlZ(char c)
{
    return c == '\r' || c == '\n' || c == ctrlZ;
}

void keepOrRemove(LineFilter& filter, std::string_view line, const StopwordTest& isStopword,
                  std::string& kept)
{
    if (lineIsRemoved(line, isStopword)) {
        ++filter.linesRemoved;
        return;
    }
    kept.append(line.data(), line.size());
    kept.append("\r\n", 2);
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
    const std::string_view byteOrderMark("\xEF\xBB\xBF", 3);
    if (listText.substr(0, 3) == byteOrderMark)
        listText.remove_prefix(3);
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
        filter.carriedOverBytes += size;
        return;
    }
    const char* end = data + size;
    const char* p = data;
    // The LF of a CR LF pair split between two chunks.
    if (filter.lineEndedByCr && p < end) {
        filter.lineEndedByCr = false;
        if (*p == '\n')
            ++p;
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
                keepOrRemove(filter, line, isStopword, kept);
            filter.pendingLine.clear();
            filter.textEnded = true;
            kept.append(lineEnd, end - lineEnd);
            filter.carriedOverBytes += end - lineEnd;
            return;
        }
        keepOrRemove(filter, line, isStopword, kept);
        filter.pendingLine.clear();
        p = lineEnd + 1;
        if (*lineEnd == '\r') {
            if (p == end)
                filter.lineEndedByCr = true;
            else if (*p == '\n')
                ++p;
        }
    }
}

void finishFiltering(LineFilter& filter, const StopwordTest& isStopword, std::string& kept)
{
    if (!filter.pendingLine.empty()) {
        keepOrRemove(filter, filter.pendingLine, isStopword, kept);
        filter.pendingLine.clear();
    }
    filter.lineEndedByCr = false;
}

std::string filterText(std::string_view text, const StopwordTest& isStopword, int64_t* linesRemoved)
{
    LineFilter filter;
    std::string kept;
    filterBytes(filter, text.data(), text.size(), isStopword, kept);
    finishFiltering(filter, isStopword, kept);
    if (linesRemoved)
        *linesRemoved = filter.linesRemoved;
    return kept;
}
