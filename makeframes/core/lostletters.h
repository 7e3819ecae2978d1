// The letters of a corpus that an output code page has no form for: how many
// of each script, and the code page that would keep every letter of the
// corpus, so that a run can refuse to write them as "?" and say what to use.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct ScriptLetters {
    const char* script; // "Cyrillic", "Greek", "Central European Latin" ...
    uint64_t letters;
};

struct LostLetters {
    int codePage = 0;                  // the code page that lacks them
    uint64_t letters = 0;              // 0: the code page keeps every letter
    std::vector<ScriptLetters> scripts; // most letters first
    int keepingCodePage = 0;           // one that has every letter read; 0: only UTF-8 does
};

// The script a supported code page writes ("Cyrillic" for 1251).
const char* codePageScript(int codePage);

// From the letters read, by code point (CorpusReader::lettersRead).
LostLetters lostLetters(const std::vector<uint64_t>& lettersRead, int codePage);

// "2,304 letters of the corpus (Cyrillic) have no form in code page 1252";
// with several scripts each is counted: "(2,304 Cyrillic, 696 Greek)".
std::string lostLettersFact(const LostLetters& lost);

// The console's refusal: the fact, that nothing was written, and the
// -codepage to give.
std::string lostLettersRefusal(const LostLetters& lost);
