// The frames stay bytes in memory; this is how those bytes become the UTF-16
// characters the window's controls and the clipboard show, for a file
// written in UTF-8 (one that starts with the byte-order mark).
#pragma once
#include "common/core/text.h"

#include <cstdint>
#include <string>
#include <string_view>

// The code page number the system gives UTF-8.
constexpr uint32_t utf8CodePage = 65001;

// Whether a frame file starts with the UTF-8 byte-order mark.
bool startsWithUtf8Mark(std::string_view content);

// Whether a text without the mark reads as UTF-8: it holds at least one
// character beyond ASCII, and every byte beyond ASCII is part of a valid
// UTF-8 sequence. 8-bit text seldom does (a letter beyond ASCII followed by
// the right number of bytes from 0x80 to 0xBF).
bool looksLikeUtf8(std::string_view content);

// The length of the valid UTF-8 sequence at text[at], and its character;
// 0 when the byte there starts none (a stray continuation byte, a lead byte
// without its continuation bytes, an overlong form, a surrogate, or beyond
// U+10FFFF).
int utf8CharacterAt(std::string_view text, size_t at, char32_t& character);

// The text as UTF-16: each byte that starts no valid sequence becomes one
// U+FFFD, so a bad byte costs one character and never a line.
std::u16string utf16FromUtf8(std::string_view text);

// The same into out, which has room for text.size() units (a text never
// takes more UTF-16 units than bytes); returns the units written. Needs no
// memory, for the list's cells.
size_t writeUtf16FromUtf8(std::string_view text, char16_t* out);

// The summary line after a load, its second line replaced by what the user
// is to know about a file that reads as UTF-8 but lacks the mark.
std::string withUnmarkedUtf8Note(const std::string& status);
extern const char unmarkedUtf8Note[];
