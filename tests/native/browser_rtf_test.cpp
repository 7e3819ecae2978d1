#include "browser/core/filekind.h"
#include "browser/core/rtf.h"

#include "common/core/homepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string header = rtfHeader;

std::string body(const std::string& document)
{
    EXPECT_EQ(document.compare(0, header.size(), header), 0) << document;
    EXPECT_GE(document.size(), header.size() + 6);
    EXPECT_EQ(document.substr(document.size() - 6), "\\par }");
    return document.substr(header.size(), document.size() - header.size() - 6);
}

size_t occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Braces nest properly, ignoring escaped ones.
bool bracesBalanced(const std::string& rtf)
{
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

}  // namespace

// Every document the pane gets is one balanced group that declares the code
// page its bytes are in (1252) and a font size, whatever the text holds.
TEST(BrowserRtf, DocumentsAreOneBalancedGroupInCodePage1252)
{
    for (const std::string& document :
         {matchesRtf("a {b} c\\d\r\ne}", "b", true), matchesRtf("", "x", false), helpRtf()}) {
        SCOPED_TRACE(document);
        int depth = 0;
        bool closedEarly = false;
        for (size_t i = 0; i < document.size(); ++i) {
            if (document[i] == '\\') {
                ++i; // an escaped byte is literal
                continue;
            }
            if (document[i] == '{')
                ++depth;
            if (document[i] == '}' && --depth == 0 && i + 1 != document.size())
                closedEarly = true;
        }
        EXPECT_EQ(depth, 0);
        EXPECT_FALSE(closedEarly);
        EXPECT_EQ(document.compare(0, 6, "{\\rtf1"), 0);
        EXPECT_NE(document.find("\\ansicpg1252"), std::string::npos);
        EXPECT_NE(document.find("\\fs"), std::string::npos);
    }
}

TEST(BrowserRtf, MatchesInBold)
{
    const struct { const char* text; const char* search; bool matchCase; const char* out; } cases[] = {
        {"the cat\t12", "cat", true, "the \\b cat\\b0 \t12"},
        {"no hit here", "cat", true, "no hit here"},
        {"aaa", "aa", true, "\\b aa\\b0 a"},
        {"abab", "ab", true, "\\b ab\\b0 \\b ab\\b0 "},
        {"The THE the", "THE", false, "\\b The\\b0  \\b THE\\b0  \\b the\\b0 "},
        {"The THE the", "the", false, "\\b The\\b0  \\b THE\\b0  \\b the\\b0 "},
        {"The THE the", "THE", true, "The \\b THE\\b0  the"},
        {"\x84x \x8Ex", "\x8E", false, "\x84x \\b \x8E\\b0 x"},
        {"\xE9t\xC9", "\xC9", false, "\\b \xE9\\b0 t\\b \xC9\\b0 "},
        {"a\r\nb\r\nc", "b", true, "a\\par \\b b\\b0 \\par c"},
        {"", "x", true, ""},
        {"plain text", "", true, "plain text"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(body(matchesRtf(c.text, c.search, c.matchCase)), c.out) << c.text << " / " << c.search;
}

TEST(BrowserRtf, MatchOnEveryByteIsCompleteAndEightTimesLonger)
{
    const std::string run(5000, 'a');
    const std::string document = matchesRtf(run, "a", true);
    EXPECT_EQ(body(document).size(), run.size() * 8);
    EXPECT_EQ(occurrences(document, "\\b a\\b0 "), run.size());
    EXPECT_TRUE(bracesBalanced(document));
}

TEST(BrowserRtf, BackslashesAndBracesAreEscapedAroundAndInsideMatches)
{
    const struct { const char* text; const char* search; const char* out; } cases[] = {
        {"a\\b {c}", "zz", "a\\\\b \\{c\\}"},
        {"a\\b", "\\", "a\\b \\\\\\b0 b"},
        {"x\\\\y", "\\", "x\\b \\\\\\b0 \\b \\\\\\b0 y"},
        {"f{o}o", "{o}", "f\\b \\{o\\}\\b0 o"},
        {"\\b0 ", "b0", "\\\\\\b b0\\b0  "},
    };
    for (const auto& c : cases) {
        const std::string document = matchesRtf(c.text, c.search, true);
        EXPECT_EQ(body(document), c.out) << c.text << " / " << c.search;
        EXPECT_TRUE(bracesBalanced(document)) << c.text;
    }
}

// The pane would end the text at a NUL: it is shown as a blank, and matches
// after it are bold. A blank searched for does not match the NUL.
TEST(BrowserRtf, NulIsShownAsABlankAndMatchesAfterItAreBold)
{
    const std::string text("ab\0ab", 5);
    EXPECT_EQ(body(matchesRtf(text, "ab", true)), "\\b ab\\b0  \\b ab\\b0 ");
    EXPECT_EQ(body(matchesRtf(text, std::string("b\0a", 3), true)), "a\\b b a\\b0 b");
    EXPECT_EQ(body(matchesRtf(text, "b a", true)), "ab ab");
}

TEST(BrowserRtf, LineBreaksSurviveMatchesThatSplitCrLf)
{
    const struct { const char* text; const char* search; const char* out; } cases[] = {
        {"a\r\nb", "a\r\nb", "\\b a\\par b\\b0 "},
        {"a\r\nb", "\r", "a\\b \\par \\b0 b"},
        {"a\r\nb", "a\r", "\\b a\\par \\b0 b"},
        {"a\r\nb", "\nb", "a\\par \\b b\\b0 "},
        {"a\r\nb", "\n", "a\\par \\b \\b0 b"},
        {"a\rb\nc", "x", "a\rb\nc"},
        {"a\r\r\nb", "x", "a\r\\par b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(body(matchesRtf(c.text, c.search, true)), c.out) << c.search;
}

TEST(BrowserRtf, HelpDocument)
{
    const std::string document = helpRtf();
    const std::string help = body(document);
    EXPECT_EQ(help.rfind(std::string("\\b CorvaleBrowsePhraseFrames\\b0  is a companion program to "
                                     "\\b Corvale,\\b0  available from ") + CORVALE_HOME_PAGE + ". "
                         "It displays \"phrase frame\" files generated by \\b Corvale.\\b0   Attempts",
                         0),
              0u);
    const char* const paragraphs[] = {
        "\\par \\par \\b Use\\b0  Load a phrase frame file upon launching the program or via the "
        "\"Open File\" menu [Shortcut Alt-O]. The grid in the upper",
        "(ascending / descending).\\i Sorting follows ASCII code order and thus is non-standard for "
        "accented and other special characters.\\i0 \\par \\par  - The \"Rank\" column",
        "then press \"Enter\" to find the next occurrence of that string. Repeated pressing of \"Enter\" "
        "cycles through additional matches.\\par Note these current limitations:\\par   - Searching",
        "\\par   - Substrings are matched, so a search for \\i the\\i0  would also match "
        "\\i o\\b the\\b0 r,\\i0  \\i \\b the\\b0 ory\\i0  etc. \\par \\par ",
    };
    for (const char* paragraph : paragraphs)
        EXPECT_NE(help.find(paragraph), std::string::npos) << paragraph;
    EXPECT_EQ(occurrences(document, "\\par "), 25u);
    EXPECT_EQ(occurrences(document, "\\b "), occurrences(document, "\\b0 "));
    EXPECT_TRUE(bracesBalanced(document));
}

// The help tells users which name endings give the list its order; a name
// with either ending it gives must be recognised as that order.
TEST(BrowserRtf, HelpNamesTheFileEndingsTheProgramRecognises)
{
    const std::string help = body(helpRtf());
    std::vector<std::string> endings;
    for (size_t at = help.find(".txt"); at != std::string::npos; at = help.find(".txt", at + 1)) {
        const size_t start = help.rfind(' ', at) + 1;
        endings.push_back(help.substr(start, at + 4 - start));
    }
    ASSERT_EQ(endings.size(), 2u);
    EXPECT_EQ(endings[0], "-Alpha-phraseFrames.txt");
    EXPECT_EQ(endings[1], "-Freq-phraseFrames.txt");
    EXPECT_EQ(classifyFileName("corpus" + endings[0]), fileKindAlpha);
    EXPECT_EQ(classifyFileName("corpus" + endings[1]), fileKindFreq);
}
