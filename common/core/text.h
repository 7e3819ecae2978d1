// Byte-text rules that every program follows: digits are ASCII digits,
// trimming removes blanks (byte 32) only, and a line of a phrase-frame file
// or of the pane ends at a CR LF pair (a lone CR or LF stays in its line).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The mark a UTF-8 file starts with, as Notepad writes it.
inline constexpr std::string_view utf8ByteOrderMark("\xEF\xBB\xBF", 3);

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A field of decimal digits only, at most 18 of them (beyond any count a
// corpus gives), as the files' counts are written; false for anything else.
inline bool readDecimalDigits(std::string_view digits, int64_t& value)
{
    if (digits.empty() || digits.size() > 18)
        return false;
    value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// The length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// starts none (a continuation byte, C0 and C1, which only spell overlong
// forms, and F5 to FF).
inline int utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The text without the blanks at both ends (a TAB is no blank here).
std::string_view trimBlanks(std::string_view text);

// Position of the first CR LF pair at or after from, or npos.
size_t findCrLf(std::string_view text, size_t from = 0);

// The lines of a text separated by CR LF pairs, as views into it: n pairs
// give n + 1 lines (an empty text is one empty line).
std::vector<std::string_view> splitCrLfLines(std::string_view text);
