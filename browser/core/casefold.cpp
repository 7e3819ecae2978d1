#include "browser/core/casefold.h"

#include "browser/core/displaytext.h"

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

bool foldIsUtf8 = false;

// Blocks where capital and small letters alternate, the capital first at
// an even code point (odd when capitalOdd).
struct AlternatingBlock {
    char32_t first;
    char32_t last;
    bool capitalOdd;
};
const AlternatingBlock alternatingBlocks[] = {
    {0x100, 0x137, false}, {0x139, 0x148, true}, {0x14A, 0x177, false}, {0x179, 0x17E, true},
    {0x200, 0x21F, false}, {0x222, 0x233, false}, {0x460, 0x481, false}, {0x48A, 0x4BF, false},
    {0x4C1, 0x4CE, true},  {0x4D0, 0x52F, false},
};

} // namespace

const std::vector<CaseRun>& caseRunsOf(uint32_t codePage)
{
    static const std::vector<CaseRun> none;
    for (const CodePageCase& known : knownCodePages)
        if (known.codePage == codePage)
            return known.runs;
    return none;
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
    foldIsUtf8 = codePage == utf8CodePage;
}

bool caseFoldIsUtf8()
{
    return foldIsUtf8;
}

const CaseFold& caseFold()
{
    return foldInUse();
}

char32_t capitalOf(char32_t c)
{
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    switch (c) {
    case 0xFF: return 0x178;
    case 0x131: return c; // dotless i: its capital is I
    case 0x3AC: return 0x386;
    case 0x3AD: case 0x3AE: case 0x3AF: return c - 0x25;
    case 0x3C2: return 0x3A3; // final sigma
    case 0x3CC: return 0x38C;
    case 0x3CD: case 0x3CE: return c - 0x3F;
    case 0x4CF: return 0x4C0;
    default: break;
    }
    for (const AlternatingBlock& block : alternatingBlocks)
        if (c >= block.first && c <= block.last)
            return (c % 2 == 1) != block.capitalOdd ? c - 1 : c;
    return c;
}

std::string upperCaseUtf8(const std::string& text)
{
    std::string folded(text);
    for (size_t at = 0; at < folded.size(); ++at) {
        const auto byte = static_cast<unsigned char>(folded[at]);
        if (byte < 0x80) {
            folded[at] = static_cast<char>(byte >= 'a' && byte <= 'z' ? byte - 0x20 : byte);
            continue;
        }
        // Every letter that folds has a two-byte form, and so has its capital.
        char32_t character;
        const int length = utf8CharacterAt(folded, at, character);
        if (length == 2) {
            const char32_t capital = capitalOf(character);
            folded[at] = static_cast<char>(0xC0 | (capital >> 6));
            folded[at + 1] = static_cast<char>(0x80 | (capital & 0x3F));
        }
        if (length > 1)
            at += static_cast<size_t>(length - 1);
    }
    return folded;
}

std::string upperCase(const std::string& text)
{
    if (foldIsUtf8)
        return upperCaseUtf8(text);
    const CaseFold& fold = caseFold();
    std::string folded(text);
    for (char& c : folded)
        c = static_cast<char>(fold.capital[static_cast<unsigned char>(c)]);
    return folded;
}
