#include "common/core/text.h"

#include <cstring>

std::string_view trimBlanks(std::string_view text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return std::string_view();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

size_t findCrLf(std::string_view text, size_t from)
{
    // memchr finds the next CR fast on long lines; most CRs start a pair.
    while (from < text.size()) {
        const void* cr = std::memchr(text.data() + from, '\r', text.size() - from);
        if (cr == nullptr)
            return std::string_view::npos;
        const size_t at = static_cast<size_t>(static_cast<const char*>(cr) - text.data());
        if (at + 1 < text.size() && text[at + 1] == '\n')
            return at;
        from = at + 1;
    }
    return std::string_view::npos;
}

std::vector<std::string_view> splitCrLfLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = findCrLf(text, start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            return lines;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
}
