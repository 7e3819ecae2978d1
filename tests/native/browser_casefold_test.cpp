#include "browser/core/casefold.h"
#include "browser/core/findscan.h"
#include "common/core/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Each code page's fold against makeframes' own lower-casing of it: a
// capital beyond ASCII and its small letter beyond ASCII meet, a-z fold to
// A-Z, and every other byte stays.
TEST(CaseFold, FoldsTheCodePagesCasePairsAndAsciiAsAlways)
{
    for (int number : {1250, 1251, 1252, 1253, 1254, 1257}) {
        SCOPED_TRACE(number);
        const CodePage& page = codePage(number);
        const CaseFold fold = caseFoldFrom(caseRunsOf(number));
        for (int b = 0; b < 256; ++b) {
            int capital = b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b;
            for (int c = 0x80; c < 256 && b >= 0x80; ++c)
                if (c != b && page.lowerByte[c] == b)
                    capital = c;
            EXPECT_EQ(fold.capital[b], capital) << b;
            EXPECT_LE(fold.sourceCount[b], 2) << b;
        }
    }
    const CaseFold asciiOnly = caseFoldFrom(caseRunsOf(437));
    for (int b = 0x80; b < 256; ++b)
        EXPECT_EQ(asciiOnly.capital[b], b) << b;
}

// What a user searching without "Match case" finds on a Western system,
// and on a Cyrillic one.
TEST(CaseFold, FindWithoutMatchCaseFoldsTheSystemsLetters)
{
    const struct {
        uint32_t codePage;
        const char* record;
        const char* search;
        bool found;
    } cases[] = {
        {1252, "1\tcaf\xE9\t1\t0", "CAF\xC9", true},
        {1252, "1\tCAF\xC9\t1\t0", "caf\xE9", true},
        {1252, "1\t\x9A\x9C\x9E\xFF\t1\t0", "\x8A\x8C\x8E\x9F", true},
        {1252, "1\t\x87\t1\t0", "\x80", false},  // dagger is no euro sign
        {1252, "1\t\x94\t1\t0", "\x99", false},  // nor a quote a trade mark
        {1252, "1\t\xF7\t1\t0", "\xD7", false},  // division and multiplication signs
        {1252, "1\tThe\t1\t0", "tHE", true},
        {1251, "1\t\xEC\xE8\xF0\t1\t0", "\xCC\xC8\xD0", true},
        {1251, "1\tcaf\xE9\t1\t0", "CAF\xC9", true},  // short i, small and capital
        {437, "1\tcaf\xE9\t1\t0", "CAF\xC9", false},
        {437, "1\tcafe\t1\t0", "CAFE", true},
    };
    for (const auto& c : cases) {
        useCaseFoldOf(c.codePage);
        const std::vector<std::string> frames = {"", c.record};
        EXPECT_EQ(findFrame(frames, 1, 1, c.search, false), c.found ? 1 : 0)
            << c.codePage << ": " << c.record << " / " << c.search;
    }
    useCaseFoldOf(1252);
}
