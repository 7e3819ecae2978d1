#include "common/core/frameformat.h"

#include <charconv>

std::string lengthFileEnding(const char* ending, int length, bool rangeOfLengths)
{
    return rangeOfLengths ? "-" + std::to_string(length) + ending : std::string(ending);
}

void appendFrameFields(std::string& out, std::string_view frameText, uint64_t frequency, uint64_t variants)
{
    char digits[24];
    out += frameText;
    out += frameFieldSeparator;
    out.append(digits, std::to_chars(digits, digits + sizeof digits, frequency).ptr);
    out += frameFieldSeparator;
    out.append(digits, std::to_chars(digits, digits + sizeof digits, variants).ptr);
}

bool readFrameFields(std::string_view headerLine, FrameFields& fields)
{
    std::string_view* const parts[] = {&fields.frame, &fields.frequency, &fields.variants};
    size_t from = 0;
    size_t found = 0;
    for (std::string_view* part : parts) {
        *part = std::string_view();
        if (from > headerLine.size())
            continue;
        const size_t tab = headerLine.find(frameFieldSeparator, from);
        *part = headerLine.substr(from, tab == std::string_view::npos ? std::string_view::npos : tab - from);
        from = tab == std::string_view::npos ? headerLine.size() + 1 : tab + 1;
        ++found;
    }
    // Exactly three: the third ran to the line's end.
    return found == 3 && from == headerLine.size() + 1;
}
