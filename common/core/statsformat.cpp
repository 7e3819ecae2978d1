#include "common/core/statsformat.h"

#include "common/core/text.h"

#include <charconv>
#include <cstring>

const std::string& statsHeaderLine()
{
    static const std::string line = [] {
        std::string text;
        for (size_t c = 0; c < statsColumnCount; ++c) {
            if (c > 0)
                text += '\t';
            text += statsColumns[c].heading;
        }
        return text + "\r\n";
    }();
    return line;
}

size_t statsColumnIndex(std::string_view heading)
{
    for (size_t c = 0; c < statsColumnCount; ++c)
        if (heading == statsColumns[c].heading)
            return c;
    return statsColumnCount;
}

namespace {

bool readValue(std::string_view field, StatsFieldKind kind, int64_t& value)
{
    value = 0;
    if (kind == statsText)
        return true;
    if (kind == statsCount)
        return readDecimalDigits(field, value);
    const size_t point = field.find('.');
    int64_t whole = 0;
    int64_t parts = 0;
    if (point == std::string_view::npos || field.size() - point - 1 != statsFractionDigits ||
        !readDecimalDigits(field.substr(0, point), whole) || whole > INT64_MAX / statsFractionScale - 1 ||
        !readDecimalDigits(field.substr(point + 1), parts))
        return false;
    value = whole * statsFractionScale + parts;
    return true;
}

std::string lineProblem(size_t line, const std::string& what)
{
    return "it is not a statistics table as makeframes writes it: line " + std::to_string(line) + " " + what;
}

} // namespace

std::string readStatsText(std::string_view text, const std::function<void(const StatsRow&)>& onRow)
{
    // The header row of the tables makeframes wrote before the DP column.
    const std::string_view withoutDispersion = "frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\t"
                                               "top variant share\tentropy (bits)\trange\tper million words\r\n";
    // A table made with -codepage utf8 starts with UTF-8's mark.
    if (text.substr(0, utf8ByteOrderMark.size()) == utf8ByteOrderMark)
        text.remove_prefix(utf8ByteOrderMark.size());
    const std::string& header = statsHeaderLine();
    if (text.substr(0, header.size()) != header) {
        if (std::string_view(header).substr(0, text.size()) == text)
            return "it is cut short: it ends within its header row";
        if (text.substr(0, withoutDispersion.size()) == withoutDispersion)
            return "it was made by an earlier makeframes, without the DP column: make the files again to see "
                   "their measures";
        return "it is not a statistics table as makeframes writes it: its first line is not the header row "
               "\"" + header.substr(0, header.size() - 2) + "\" (with TABs between the headings)";
    }
    // A table can hold a million rows: each row's end, a stray LF in it and
    // its TABs are found with memchr, which looks at many bytes at a time.
    StatsRow row;
    size_t line = 1;
    const char* const data = text.data();
    for (size_t at = header.size(); at < text.size();) {
        ++line;
        const void* cr = std::memchr(data + at, '\r', text.size() - at);
        const size_t end = cr == nullptr ? text.size() : static_cast<size_t>(static_cast<const char*>(cr) - data);
        if (std::memchr(data + at, '\n', end - at) != nullptr)
            return lineProblem(line, "holds a lone CR or LF");
        if (end + 1 >= text.size())
            return "it is cut short: its line " + std::to_string(line) + " has no line end";
        if (text[end + 1] != '\n')
            return lineProblem(line, "holds a lone CR or LF");
        size_t fieldCount = 0;
        for (size_t fieldStart = at;;) {
            const void* tab = std::memchr(data + fieldStart, '\t', end - fieldStart);
            const size_t fieldEnd = tab == nullptr ? end : static_cast<size_t>(static_cast<const char*>(tab) - data);
            if (fieldCount < statsColumnCount)
                row.fields[fieldCount] = text.substr(fieldStart, fieldEnd - fieldStart);
            ++fieldCount;
            if (tab == nullptr)
                break;
            fieldStart = fieldEnd + 1;
        }
        if (fieldCount != statsColumnCount)
            return lineProblem(line, "has " + std::to_string(fieldCount) + " fields instead of " +
                                         std::to_string(statsColumnCount));
        for (size_t c = 0; c < statsColumnCount; ++c) {
            if (!readValue(row.fields[c], statsColumns[c].kind, row.values[c]))
                return lineProblem(line, "holds \"" + std::string(row.fields[c]) + "\" in the column \"" +
                                             statsColumns[c].heading + "\", which is no " +
                                             (statsColumns[c].kind == statsCount ? "count" : "fraction with four decimals"));
        }
        onRow(row);
        at = end + 2;
    }
    return std::string();
}

size_t writeStatsValue(char (&out)[statsValueSize], int64_t value, StatsFieldKind kind)
{
    if (kind == statsText)
        return 0;
    char* end = out + statsValueSize;
    if (kind == statsCount)
        return static_cast<size_t>(std::to_chars(out, end, value).ptr - out);
    char* at = std::to_chars(out, end, value / statsFractionScale).ptr;
    *at++ = '.';
    int64_t parts = value % statsFractionScale;
    for (int64_t digit = statsFractionScale / 10; digit > 0; digit /= 10)
        *at++ = static_cast<char>('0' + parts / digit % 10);
    return static_cast<size_t>(at - out);
}
