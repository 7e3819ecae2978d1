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
