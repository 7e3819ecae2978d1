// The encodings the filter tells apart by a file's byte-order mark, and the
// UTF-8 reading of a word for the stopword set.
#pragma once
#include "common/core/text.h"

#include <cstddef>
#include <string_view>

enum class TextEncoding {
    ansi,  // no mark: 8-bit text in the system's ANSI code page
    utf8,  // starts with EF BB BF
    utf16  // starts with FF FE or FE FF, either byte order
};

// The encoding of a text by the mark at its start.
TextEncoding encodingByMark(std::string_view head);

// Writes the UTF-16 form of UTF-8 text to `out`, which has room for
// text.size() units (no byte gives more than one unit), and returns the
// number of units written. A byte that is no part of a complete sequence in
// its shortest form (an overlong form, a surrogate, a code point beyond
// U+10FFFF, a lone continuation byte, a sequence cut short) becomes U+FFFD
// on its own, so a bad byte never takes a good one with it and a word with
// one never equals a real word.
size_t utf8ToUtf16(std::string_view text, char16_t* out);
