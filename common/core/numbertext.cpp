#include "numbertext.h"

std::string formatThousands(int64_t n)
{
    // Work on the magnitude as unsigned so INT64_MIN needs no special case.
    uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    std::string digits = std::to_string(magnitude);
    std::string out;
    if (n < 0)
        out += '-';
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

std::string strNumber(int64_t n)
{
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}
