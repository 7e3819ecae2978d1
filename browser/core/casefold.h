// The case fold of case-insensitive Find: each byte made the capital of its
// letter in the system's ANSI code page, the one the files' bytes are shown
// in. ASCII folds a-z to A-Z whatever the code page; beyond ASCII each code
// page has its own letters.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// count consecutive small letters from small whose capitals are count
// consecutive bytes from capital, all beyond ASCII.
struct CaseRun {
    unsigned char small;
    unsigned char capital;
    unsigned char count;
};

// The case pairs beyond ASCII of the code pages makeframes writes (1250,
// 1251, 1252, 1253, 1254, 1257); none for any other code page, whose letters
// beyond ASCII then stay as they are. A pair with an ASCII side (Turkish
// dotless i and capital I with dot) is left out, so ASCII folds the same in
// every code page.
const std::vector<CaseRun>& caseRunsOf(uint32_t codePage);

struct CaseFold {
    std::array<unsigned char, 256> capital; // each byte folded
    // The bytes that fold to each byte: itself when it is no small letter,
    // and the small letter of a capital.
    std::array<std::array<unsigned char, 2>, 256> sources;
    std::array<unsigned char, 256> sourceCount;
};

// a-z to A-Z, then the runs' pairs; every other byte stays.
CaseFold caseFoldFrom(const std::vector<CaseRun>& runs);

// The fold Find uses from now on: that of the code page (1252 until the
// program names the system's). UTF-8 (65001) folds characters, see
// upperCaseUtf8; its byte table then folds ASCII alone.
void useCaseFoldOf(uint32_t codePage);
const CaseFold& caseFold();
bool caseFoldIsUtf8();

// text folded with caseFold() (upperCaseUtf8 for UTF-8); the same length, and
// folding a folded text changes nothing.
std::string upperCase(const std::string& text);

// The capital of a small letter of the Latin, Greek and Cyrillic alphabets
// whose UTF-8 form is as long as its own (so dotless i and long s stay, as
// their capitals are ASCII); every other character stays as it is.
char32_t capitalOf(char32_t character);

// UTF-8 text with each letter made its capital (capitalOf): the same length,
// bytes that are no valid UTF-8 stay as they are.
std::string upperCaseUtf8(const std::string& text);
