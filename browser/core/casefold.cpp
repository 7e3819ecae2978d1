#include "browser/core/casefold.h"

namespace {

struct CodePageCase {
    uint32_t codePage;
    std::vector<CaseRun> runs;
};

// From each code page's own table of characters: its small letters beyond
// ASCII and their capitals.
const CodePageCase knownCodePages[] = {
    {1250, {{0x9A, 0x8A, 1}, {0x9C, 0x8C, 4}, {0xB3, 0xA3, 1}, {0xB9, 0xA5, 1}, {0xBA, 0xAA, 1},
            {0xBF, 0xAF, 1}, {0xBE, 0xBC, 1}, {0xE0, 0xC0, 23}, {0xF8, 0xD8, 7}}},
    {1251, {{0x90, 0x80, 1}, {0x83, 0x81, 1}, {0x9A, 0x8A, 1}, {0x9C, 0x8C, 4}, {0xA2, 0xA1, 1},
            {0xBC, 0xA3, 1}, {0xB4, 0xA5, 1}, {0xB8, 0xA8, 1}, {0xBA, 0xAA, 1}, {0xBF, 0xAF, 1},
            {0xB3, 0xB2, 1}, {0xBE, 0xBD, 1}, {0xE0, 0xC0, 32}}},
    // Latin-1's letters (without the multiplication and division signs),
    // and S, OE, Z with caron or ligature and Y with diaeresis.
    {1252, {{0x9A, 0x8A, 1}, {0x9C, 0x8C, 1}, {0x9E, 0x8E, 1}, {0xFF, 0x9F, 1}, {0xE0, 0xC0, 23},
            {0xF8, 0xD8, 7}}},
    {1253, {{0xDC, 0xA2, 1}, {0xDD, 0xB8, 3}, {0xFC, 0xBC, 1}, {0xFD, 0xBE, 2}, {0xE1, 0xC1, 17},
            {0xF3, 0xD3, 9}}},
    {1254, {{0x9A, 0x8A, 1}, {0x9C, 0x8C, 1}, {0xFF, 0x9F, 1}, {0xE0, 0xC0, 23}, {0xF8, 0xD8, 5},
            {0xFE, 0xDE, 1}}},
    {1257, {{0xB8, 0xA8, 1}, {0xBA, 0xAA, 1}, {0xBF, 0xAF, 1}, {0xE0, 0xC0, 23}, {0xF8, 0xD8, 7}}},
};

CaseFold& foldInUse()
{
    static CaseFold fold = caseFoldFrom(caseRunsOf(1252));
    return fold;
}

} // namespace

std::vector<CaseRun> caseRunsOf(uint32_t codePage)
{
    for (const CodePageCase& known : knownCodePages)
        if (known.codePage == codePage)
            return known.runs;
    return {};
}

CaseFold caseFoldFrom(const std::vector<CaseRun>& runs)
{
    CaseFold fold{};
    for (int b = 0; b < 256; ++b)
        fold.capital[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
    for (const CaseRun& run : runs)
        for (int k = 0; k < run.count; ++k)
            fold.capital[run.small + k] = static_cast<unsigned char>(run.capital + k);
    for (int b = 0; b < 256; ++b) {
        const unsigned char target = fold.capital[b];
        fold.sources[target][fold.sourceCount[target]++] = static_cast<unsigned char>(b);
    }
    return fold;
}

void useCaseFoldOf(uint32_t codePage)
{
    foldInUse() = caseFoldFrom(caseRunsOf(codePage));
}

const CaseFold& caseFold()
{
    return foldInUse();
}

std::string upperCase(const std::string& text)
{
    const CaseFold& fold = caseFold();
    std::string folded(text);
    for (char& c : folded)
        c = static_cast<char>(fold.capital[static_cast<unsigned char>(c)]);
    return folded;
}
