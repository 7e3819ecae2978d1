// UTF-8 frame files as the window shows them: the characters, the pane's RTF
// and case-insensitive Find on letters beyond ASCII.
#include "browser/core/casefold.h"
#include "browser/core/displaytext.h"
#include "browser/core/findscan.h"
#include "browser/core/rtf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(DisplayText, Utf8BecomesUtf16AndEachBadByteOneReplacementCharacter)
{
    const struct {
        const char* utf8;
        std::u16string utf16;
    } cases[] = {
        {"a\tb", u"a\tb"},
        {"\xD0\xBC\xD0\xB8\xD1\x80", u"\u043C\u0438\u0440"},                // мир
        {"\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82", u"\u03BB\u03CC\u03B3\u03BF\u03C2"}, // λόγος
        {"\xF0\x9F\x98\x80", u"\U0001F600"},                                 // a surrogate pair
        {"a\xE9z", u"a\uFFFDz"},                                             // Latin-1 byte
        {"\xD0\r\n\xBC", u"\uFFFD\r\n\uFFFD"},                               // cut sequence: the line end stays
        {"\xC0\xAF\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},         // overlong, surrogate
        {"\xE2\x82", u"\uFFFD\uFFFD"},                                       // cut at the end
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
}

TEST(DisplayText, UnmarkedUtf8IsToldFromEightBitText)
{
    EXPECT_TRUE(looksLikeUtf8("\xD0\xBC\xD0\xB8\xD1\x80\t3\t1"));
    EXPECT_FALSE(looksLikeUtf8("plain ASCII\t3\t1"));
    EXPECT_FALSE(looksLikeUtf8("caf\xE9\t3\t1"));           // 1252
    EXPECT_FALSE(looksLikeUtf8("\xEC\xE8\xF0\t3\t1"));      // 1251
    EXPECT_TRUE(startsWithUtf8Mark("\xEF\xBB\xBFx"));
    EXPECT_FALSE(startsWithUtf8Mark("\xEF\xBB"));
    EXPECT_EQ(withUnmarkedUtf8Note("3 phrase-frames.\rSelect item"),
              std::string("3 phrase-frames.\r") + unmarkedUtf8Note);
}

TEST(DisplayText, PaneRtfHasUnicodeEscapesAndBoldOnFoldedLetters)
{
    const struct {
        const char* text;
        const char* search;
        bool matchCase;
        const char* body;
    } cases[] = {
        {"\xD0\xBC\xD0\xB8\xD1\x80\t2", "", false, "\\u1084?\\u1080?\\u1088?\t2"},
        {"\xD0\x9C\xD0\xB8\xD1\x80\r\n\xD0\xBC\xD0\xB8\xD1\x80", "\xD0\xBC\xD0\xB8", false,  // ми in Мир, мир
         "\\b \\u1052?\\u1080?\\b0 \\u1088?\\par \\b \\u1084?\\u1080?\\b0 \\u1088?"},
        {"\xD0\x9C\xD0\xB8\xD1\x80", "\xD0\xBC", true, "\\u1052?\\u1080?\\u1088?"},
        {"\xCE\xA3\xCF\x82\xCF\x83", "\xCF\x83", false,  // Σςσ: every sigma
         "\\b \\u931?\\b0 \\b \\u962?\\b0 \\b \\u963?\\b0 "},
        {"a\xFF{b}", "", false, "a\\u-3?\\{b\\}"},
        {"\xF0\x9F\x98\x80", "", false, "\\u-10179?\\u-8704?"},
    };
    const size_t headerLength = std::string(rtfHeader).size();
    for (const auto& c : cases) {
        const std::string document = matchesRtf(c.text, c.search, c.matchCase, true);
        EXPECT_EQ(document.substr(headerLength, document.size() - headerLength - 6), c.body) << c.text;
    }
}

TEST(DisplayText, FindFoldsCyrillicGreekAndCentralEuropeanLetters)
{
    const struct {
        const char* record;
        const char* search;
        bool found;
    } cases[] = {
        {"1\t\xD0\x9C\xD0\x98\xD0\xA0\t1\t0", "\xD0\xBC\xD0\xB8\xD1\x80", true},    // МИР / мир
        {"1\t\xD1\x91\xD0\xBB\xD0\xBA\xD0\xB0\t1\t0", "\xD0\x81\xD0\x9B", true},    // ёлка / ЁЛ
        {"1\t\xCE\xAC\xCE\xBB\xCF\x82\t1\t0", "\xCE\x86\xCE\x9B\xCE\xA3", true},   // άλς / ΆΛΣ
        {"1\t\xC5\xBC\xC3\xB3\xC5\x82w\t1\t0", "\xC5\xBB\xC3\x93\xC5\x81W", true}, // żółw / ŻÓŁW
        {"1\t\xC3\xA9t\xC3\xA9\t1\t0", "\xC3\x89T\xC3\x89", true},                  // été / ÉTÉ
        {"1\t\xC4\xB1\t1\t0", "I", false},                                          // dotless i is no I
        {"1\t\xD0\xB0\t1\t0", "A", false},                                          // Cyrillic а is no Latin A
    };
    useCaseFoldOf(utf8CodePage);
    for (const auto& c : cases) {
        const std::vector<std::string> frames = {"", c.record};
        EXPECT_EQ(findFrame(frames, 1, 1, upperCase(c.search), false), c.found ? 1 : 0) << c.record;
    }
    useCaseFoldOf(1252);
}
