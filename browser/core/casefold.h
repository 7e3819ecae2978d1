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
std::vector<CaseRun> caseRunsOf(uint32_t codePage);

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
// program names the system's).
void useCaseFoldOf(uint32_t codePage);
const CaseFold& caseFold();

// text folded with caseFold(); the same length, and folding a folded text
// changes nothing.
std::string upperCase(const std::string& text);
