// The Windows code pages makeframes writes its files in: 1250 (Central
// European), 1251 (Cyrillic), 1252 (Western European), 1253 (Greek), 1254
// (Turkish) and 1257 (Baltic). Each is ASCII below 0x80 and its own table
// of Unicode characters from 0x80 on.
//
// Letters and case are decided on the Unicode characters, the same way in
// every code page: the Latin letters (ASCII, Latin-1 from U+00C0 except the
// multiplication and division signs, Latin Extended-A and -B), Greek and
// Cyrillic are letters; the feminine and masculine ordinals and the micro
// sign are not (1252 has always treated them as symbols). Lower-casing is
// Unicode's simple one-to-one mapping, with the Turkish rule in the Turkish
// code page 1254 only: there "I" becomes U+0131 (dotless i) and U+0130
// (capital I with dot) becomes "i", so "IŞIK" and "Işık" meet as "ışık";
// elsewhere "I" and U+0130 both become "i". (The few capitals of Latin
// Extended-B outside U+0200-U+0233 are not folded: none of them has a form in
// these code pages.) Lower-casing a word also writes a small sigma that ends
// it, after a letter, as the final sigma: "ΤΗΣ" becomes "της", as lower-case
// text writes it (corpustext.cpp).
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

bool isSupportedCodePage(int number);

// The output's code page unless the user names one: the system's ANSI code
// page when it is supported (the browser and the filter read that one),
// else Western (1252).
int defaultCodePage(unsigned systemCodePage);

struct CodePage {
    int number = 0;
    uint32_t character[256] = {};     // each byte's character; 0 where the code page has none
    bool turkishCase = false;         // 1254: I and dotless i, capital I with dot and i
    bool wordByte[256] = {};          // letters, digits and apostrophes
    unsigned char lowerByte[256] = {}; // each byte lower-cased (itself when not a capital)
    // Small sigma and final sigma; -1 where the code page lacks either.
    int sigmaByte = -1;
    int finalSigmaByte = -1;
    std::vector<std::pair<uint32_t, unsigned char>> byCharacter; // sorted, for encoding
};

// One of the supported code pages (see isSupportedCodePage; others throw
// std::invalid_argument).
const CodePage& codePage(int number);

// The byte of a character in the code page; -1 when it has none.
int encodeCharacter(const CodePage& page, uint32_t codePoint);

bool isLetter(uint32_t codePoint);
// ' and the typographic apostrophe U+2019, which words hold.
bool isApostrophe(uint32_t codePoint);
// The small letter of a capital in the code page's language; any other
// character as it is.
uint32_t lowerCase(const CodePage& page, uint32_t codePoint);
