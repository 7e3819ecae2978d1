#include "stopwords/core/tailsplit.h"

#include <gtest/gtest.h>

#include <map>

using Names = std::vector<std::string>;

TEST(StopwordsTailSplit, SplitsIntoNames)
{
    const struct { std::string tail; Names names; } cases[] = {
        {"a.txt b.txt", {"a.txt", "b.txt"}},
        {"a.txt", {"a.txt"}},
        {R"(C:\x\a.txt "C:\y z\b.txt")", {R"(C:\x\a.txt)", R"(C:\y z\b.txt)"}},
        {R"("C:\My Texts\a b.txt" C:\My Texts\c.txt)", {R"(C:\My Texts\a b.txt)", R"(C:\My Texts\c.txt)"}},
        // Dropped files from a folder with blanks, none quoted: the last name's
        // folder starts a name wherever it follows a blank.
        {R"("C:\A B\x.txt" C:\A B\y.txt C:\A B\z.txt)", {R"(C:\A B\x.txt)", R"(C:\A B\y.txt)", R"(C:\A B\z.txt)"}},
        // Without a quote the blank splits, and the folder split finds no blank.
        {R"(C:\My Texts\c.txt)", {R"(C:\My)", R"(Texts\c.txt)"}},
        // Doubled, leading and trailing blanks give empty names.
        {"a.txt  b.txt", {"a.txt", "", "b.txt"}},
        {"a.txt ", {"a.txt", ""}},
        {" a.txt", {"", "a.txt"}},
        {"", {""}},
        // Quotes: a blank before a quote separates, other quotes just go.
        {R"("a b.txt")", {"a b.txt"}},
        {R"("a b.txt" "c d.txt")", {"a b.txt", "c d.txt"}},
        {R"(a"b c.txt)", {"ab c.txt"}},
        // With quotes, only a blank before a quote separates: the other blank stays.
        {R"("a.txt"  "b.txt")", {"a.txt ", "b.txt"}},
        {R"("a b.txt" c.txt d.txt)", {"a b.txt c.txt d.txt"}},
        {R"("unclosed name.txt)", {"unclosed name.txt"}},
        // The README's examples: once a name is quoted, every later name needs
        // quotes too (or it joins the name before it).
        {R"(3grams.txt "C:\My Lists\4grams.txt" "lists\*.txt")", {"3grams.txt", R"(C:\My Lists\4grams.txt)", R"(lists\*.txt)"}},
        {R"("3grams.txt" "C:\My Lists\4grams.txt" "lists\*.txt")", {"3grams.txt", R"(C:\My Lists\4grams.txt)", R"(lists\*.txt)"}},
        {R"(3grams.txt "C:\My Lists\4grams.txt" lists\*.txt)", {"3grams.txt", R"(C:\My Lists\4grams.txt lists\*.txt)"}},
        // Relative and network names have no drive folder to split at.
        {R"(sub\a.txt sub\b.txt)", {R"(sub\a.txt)", R"(sub\b.txt)"}},
        {R"("\\srv\s h\a.txt" \\srv\s h\b.txt)", {R"(\\srv\s h\a.txt \\srv\s h\b.txt)"}},
        // A colon after the last backslash (a drive-relative name) gives no folder.
        {R"("C:\a b\x.txt" "D:y.txt")", {R"(C:\a b\x.txt)", "D:y.txt"}},
        {R"(C:\x\a.txt D:y.txt)", {R"(C:\x\a.txt)", "D:y.txt"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitTailIntoNames(c.tail), c.names) << c.tail;
}

TEST(StopwordsTailSplit, OrdinaryFiles)
{
    DirectoryEntry file{"a.txt"};
    EXPECT_TRUE(isOrdinaryFile(file));
    DirectoryEntry directory{"sub", true};
    DirectoryEntry hidden{"h.txt", false, true};
    DirectoryEntry system{"s.txt", false, false, true};
    for (const DirectoryEntry& entry : {directory, hidden, system, DirectoryEntry{"."}, DirectoryEntry{".."}})
        EXPECT_FALSE(isOrdinaryFile(entry)) << entry.name;
}

TEST(StopwordsTailSplit, SearchPattern)
{
    EXPECT_EQ(searchPatternFor("*.txt"), "*.txt");
    EXPECT_EQ(searchPatternFor(R"(C:\d?\)"), R"(C:\d?\*.*)");
    EXPECT_EQ(searchPatternFor("C:"), "C:*.*");
    EXPECT_TRUE(hasWildcard("a?.txt"));
    EXPECT_TRUE(hasWildcard("*"));
    EXPECT_FALSE(hasWildcard("a.txt"));
}

namespace {

// A directory listing made up for the test, recording the patterns asked.
struct FakeDirectory {
    std::map<std::string, std::vector<DirectoryEntry>> listings;
    std::vector<std::string> asked;
    DirectoryLister lister()
    {
        return [this](const std::string& pattern) {
            asked.push_back(pattern);
            auto it = listings.find(pattern);
            return it == listings.end() ? std::vector<DirectoryEntry>() : it->second;
        };
    }
};

} // namespace

TEST(StopwordsTailSplit, ExpansionKeepsDirectoryOrderAndAppendsFurtherMatches)
{
    FakeDirectory dir;
    dir.listings["*.txt"] = {{"a.txt"}, {"c.txt"}};
    EXPECT_EQ(expandWildcards({"*.txt", "b.doc"}, dir.lister()), (Names{"a.txt", "b.doc", "c.txt"}));

    dir.listings["x*"] = {{"x2"}, {"x1"}, {"x3"}};
    EXPECT_EQ(expandWildcards({"*.txt", "x*", "plain"}, dir.lister()),
              (Names{"a.txt", "x2", "plain", "c.txt", "x1", "x3"}));
}

TEST(StopwordsTailSplit, ExpansionPrefixesTheNamesFolder)
{
    FakeDirectory dir;
    dir.listings[R"(sub\*.txt)"] = {{"p.txt"}, {"q.txt"}};
    dir.listings[R"(C:\d\*.*)"] = {{"r"}};
    EXPECT_EQ(expandWildcards({R"(sub\*.txt)"}, dir.lister()), (Names{R"(sub\p.txt)", R"(sub\q.txt)"}));
    EXPECT_EQ(expandWildcards({R"(C:\d\*.*)"}, dir.lister()), (Names{R"(C:\d\r)"}));
}

TEST(StopwordsTailSplit, ExpansionSkipsWhatIsNotAnOrdinaryFile)
{
    FakeDirectory dir;
    dir.listings["*"] = {{"."}, {".."}, {"sub", true}, {"h", false, true}, {"s", false, false, true}, {"f"}};
    EXPECT_EQ(expandWildcards({"*"}, dir.lister()), (Names{"f"}));
}

TEST(StopwordsTailSplit, UnmatchedPatternStaysAndPlainNamesAreNotSearched)
{
    FakeDirectory dir;
    dir.listings["d?\\"] = {};
    EXPECT_EQ(expandWildcards({"a.txt", "*.none", "", "d?\\"}, dir.lister()), (Names{"a.txt", "*.none", "", "d?\\"}));
    EXPECT_EQ(dir.asked, (Names{"*.none", "d?\\*.*"}));
}

namespace {

// A code page holding ASCII and e-acute (0xE9) only.
bool asciiAndEAcute(std::u16string_view character, std::string* ansi)
{
    if (character.size() != 1)
        return false;
    if (character[0] < 0x80)
        *ansi = std::string(1, static_cast<char>(character[0]));
    else if (character[0] == 0xE9)
        *ansi = "\xE9";
    else
        return false;
    return true;
}

} // namespace

TEST(StopwordsTailSplit, CharactersWithoutAnAnsiFormAreMarked)
{
    const std::string m(1, unhandledCharacterMark);
    const struct { std::u16string wide; std::string ansi; } cases[] = {
        {u"a.txt b.txt", "a.txt b.txt"},
        {u"caf\u00E9.txt", "caf\xE9.txt"},
        {u"\u0444\u0430\u0439\u043B.txt", m + m + m + m + ".txt"},
        // A surrogate pair is one character; a lone surrogate is one too.
        {u"x\U0001F600y", "x" + m + "y"},
        {u"x\xD800y", "x" + m + "y"},
        // U+0001 would pass for the mark: it is marked itself.
        {u"a\u0001b", "a" + m + "b"},
        {u"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(markedAnsiText(c.wide, asciiAndEAcute), c.ansi) << testing::PrintToString(c.ansi);

    // The splitting rules run unchanged on the marked tail, and a marked
    // name is never expanded, so its '?' never turns into other files.
    std::string tail = markedAnsiText(u"\"C:\\my texts\\\u0444\u0430\u0439\u043B.txt\" \"abc?.txt\"", asciiAndEAcute);
    Names names = splitTailIntoNames(tail);
    ASSERT_EQ(names, (Names{"C:\\my texts\\" + m + m + m + m + ".txt", "abc?.txt"}));
    EXPECT_TRUE(hasUnhandledCharacter(names[0]));
    EXPECT_FALSE(hasUnhandledCharacter(names[1]));
    EXPECT_EQ(displayName(names[0]), "C:\\my texts\\????.txt");

    std::vector<std::string> patterns;
    auto lister = [&](const std::string& pattern) {
        patterns.push_back(pattern);
        return std::vector<DirectoryEntry>{{"abcd.txt"}, {"wxyz.txt"}};
    };
    Names marked = {m + "???.txt", "????.txt"};
    EXPECT_EQ(expandWildcards(marked, lister), (Names{m + "???.txt", "abcd.txt", "wxyz.txt"}));
    EXPECT_EQ(patterns, (Names{"????.txt"}));
}
