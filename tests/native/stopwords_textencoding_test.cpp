#include "stopwords/core/textencoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string decoded(const std::string& bytes)
{
    std::u16string units(bytes.size(), u'\0');
    units.resize(utf8ToUtf16(bytes, &units[0]));
    return units;
}

} // namespace

TEST(StopwordsTextEncoding, TheMarkTellsTheEncoding)
{
    const struct {
        std::string head;
        TextEncoding encoding;
    } cases[] = {
        {"\xEF\xBB\xBFthe\t1", TextEncoding::utf8},
        {"\xEF\xBB\xBF", TextEncoding::utf8},
        {std::string("\xFF\xFEt\0", 4), TextEncoding::utf16},
        {std::string("\xFE\xFF\0t", 4), TextEncoding::utf16},
        {"\xFF\xFE", TextEncoding::utf16},
        {"the\t1", TextEncoding::ansi},
        {"\xEF\xBB", TextEncoding::ansi},          // a mark cut short
        {"\xD0\xB8 \xD0\xBC\t5", TextEncoding::ansi}, // UTF-8 without the mark is read as ANSI
        {"x\xEF\xBB\xBF", TextEncoding::ansi},     // only at the start
        {"\xFF", TextEncoding::ansi},
        {"", TextEncoding::ansi},
    };
    for (const auto& c : cases)
        EXPECT_EQ(encodingByMark(c.head), c.encoding) << testing::PrintToString(c.head);
}

TEST(StopwordsTextEncoding, Utf8WordsInUtf16EachBadByteReplaced)
{
    const struct {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"", u""},
        {"the", u"the"},
        {std::string("n\0l", 3), std::u16string(u"n\0l", 3)},
        {"caf\xC3\xA9", u"caf\u00E9"},
        {"\xD0\xB8\xCE\xBA", u"\u0438\u03BA"},         // Cyrillic, Greek
        {"\xE2\x82\xAC", u"\u20AC"},                    // three bytes
        {"\xF0\x9F\x98\x80", u"\U0001F600"},            // four bytes: a surrogate pair
        {"\xEF\xBB\xBF", u"\uFEFF"},                    // a mark inside a text is a character
        {"\xC2\x80\xDF\xBF\xE0\xA0\x80\xF4\x8F\xBF\xBF", u"\u0080\u07FF\u0800\U0010FFFF"}, // edges
        {"\xC0\xAF", u"\uFFFD\uFFFD"},                  // overlong "/"
        {"\xC1\xBF", u"\uFFFD\uFFFD"},
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},       // overlong in three bytes
        {"\xF0\x80\x80\xAF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},       // a surrogate
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}, // beyond U+10FFFF
        {"\xF5\xFF", u"\uFFFD\uFFFD"},
        {"\x80", u"\uFFFD"},                            // lone continuation bytes
        {"a\xBF\x80z", u"a\uFFFD\uFFFDz"},
        {"caf\xE9", u"caf\uFFFD"},                      // Latin-1 among UTF-8
        {"caf\xC3", u"caf\uFFFD"},                      // cut short at the end
        {"\xE2\x82", u"\uFFFD\uFFFD"},
        {"\xF0\x9F\x98", u"\uFFFD\uFFFD\uFFFD"},
        {"\xE2\x82x\xD0\xB8", u"\uFFFD\uFFFDx\u0438"}, // a broken sequence takes no good byte with it
        {"\xD0 \xD0\xB8", u"\uFFFD \u0438"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decoded(c.bytes), c.units) << testing::PrintToString(c.bytes);
}
