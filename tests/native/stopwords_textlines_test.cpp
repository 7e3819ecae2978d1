#include "stopwords/core/textlines.h"
#include "tests/support/filtertext.h"

#include <gtest/gtest.h>

#include <set>

using Lines = std::vector<std::string>;

namespace {

std::string bytes(const char* text, size_t size)
{
    return std::string(text, size);
}

StopwordTest stopwordsOf(std::set<std::string> words, std::vector<std::string>* asked = nullptr)
{
    return [words, asked](std::string_view word) {
        if (asked)
            asked->emplace_back(word);
        return words.count(std::string(word)) > 0;
    };
}

// Filters the text in chunks of the given size, as a file is read.
std::string filterInChunks(const std::string& text, size_t chunkSize, const StopwordTest& isStopword,
                           int64_t* removed)
{
    LineFilter filter;
    std::string kept;
    for (size_t pos = 0; pos < text.size(); pos += chunkSize)
        filterBytes(filter, text.data() + pos, std::min(chunkSize, text.size() - pos), isStopword, kept);
    finishFiltering(filter, isStopword, kept);
    *removed = filter.linesRemoved;
    return kept;
}

} // namespace

TEST(StopwordsTextLines, ListReadingRule)
{
    const struct { std::string text; Lines lines; } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r", {"a"}},
        {"a\r\n", {"a"}},
        {"a\rb", {"a", "b"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\nb\r", {"a\nb"}},         // a lone LF stays inside the line
        {"a\r\n\nb", {"a", "\nb"}},   // only one LF belongs to the line end
        {"\r\n", {""}},
        {"a\x1a" "b\rc", {"a"}},     // Ctrl-Z ends the text
        {"a\r\n\x1a" "b", {"a"}},    // ...and gives no line where one would start
        {"\x1a" "abc", {}},
        {bytes("a\0b\rc", 5), {bytes("a\0b", 3), "c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(splitTextLines(c.text), c.lines) << testing::PrintToString(c.text);
}

TEST(StopwordsTextLines, StopwordEntries)
{
    EXPECT_EQ(stopwordEntry("the | article"), "the");
    EXPECT_EQ(stopwordEntry("  of  "), "of");
    EXPECT_EQ(stopwordEntry("|the"), "");
    EXPECT_EQ(stopwordEntry("    "), "");
    EXPECT_EQ(stopwordEntry("of the"), "of the");
    EXPECT_EQ(stopwordEntry("the\t"), "the\t"); // only blanks are trimmed
    EXPECT_EQ(stopwordEntry("a|b|c"), "a");

    // Five lines give three entries, two of them the same word.
    EXPECT_EQ(stopwordEntries("the\r\nThe\r\nthe | again\r\n\r\n  | comment only\r\n"),
              (Lines{"the", "The", "the"}));
}

TEST(StopwordsTextLines, StopwordListLineEndsAndByteOrderMark)
{
    const struct { std::string text; Lines entries; } cases[] = {
        // A lone LF ends a list line too, as the README's own Linux steps make.
        {"the\nof\nand | conj\n  a  \n", {"the", "of", "and", "a"}},
        {"the\r\nof\rand\n\nx", {"the", "of", "and", "x"}},
        {"the\n\rof", {"the", "of"}},
        // A UTF-8 byte-order mark at the very start is not part of a word...
        {"\xEF\xBB\xBFthe\nof", {"the", "of"}},
        {"\xEF\xBB\xBF\r\nthe", {"the"}},
        // ...anywhere else it is.
        {"the\n\xEF\xBB\xBFof", {"the", "\xEF\xBB\xBFof"}},
        {" \xEF\xBB\xBFthe", {"\xEF\xBB\xBFthe"}},
        // Ctrl-Z still ends the list; NUL bytes stay inside entries.
        {"the\nof\x1a" "and\n", {"the", "of"}},
        {std::string("n\0ul\nx", 6), {std::string("n\0ul", 4), "x"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stopwordEntries(c.text), c.entries) << testing::PrintToString(c.text);
}

TEST(StopwordsTextLines, KeyColumn)
{
    const struct { const char* line; const char* key; } cases[] = {
        {"the cat\t12", "the cat"}, {"  big dog  \tx\ty", "big dog"}, {"no tab ", "no tab"},
        {"\t5", ""},               {"  \t5", ""},                    {"", ""},
        {" \ta b", ""},            {"a\t\tb", "a"},                  {"\tleading tab", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(keyColumn(c.line), c.key) << c.line;
}

TEST(StopwordsTextLines, WordsAreAskedLeftToRightUntilTheFirstStopword)
{
    std::vector<std::string> asked;
    StopwordTest isStopword = stopwordsOf({"of", "the"}, &asked);
    EXPECT_TRUE(lineIsRemoved("cat of the\t1", isStopword));
    EXPECT_EQ(asked, (Lines{"cat", "of"}));

    asked.clear();
    EXPECT_FALSE(lineIsRemoved(" big  dog \tthe", isStopword));
    EXPECT_EQ(asked, (Lines{"big", "dog"})); // the empty word is never asked about

    asked.clear();
    EXPECT_TRUE(lineIsRemoved("   ", isStopword));
    EXPECT_TRUE(asked.empty());
}

TEST(StopwordsTextLines, KeptLinesOfTheOfTheExample)
{
    const std::string text = "the cat\t12\r\ncat\tthe\r\n\r\n  \t5\r\nOf mice\t3\r\nthe,dog\t1\r\nbig  dog\r\n";
    int64_t removed = -1;
    EXPECT_EQ(filterText(text, stopwordsOf({"of", "the"}), &removed),
              "cat\tthe\r\nOf mice\t3\r\nthe,dog\t1\r\nbig  dog\r\n");
    EXPECT_EQ(removed, 3);
}

TEST(StopwordsTextLines, LineEndsAndKeptBytes)
{
    StopwordTest isStopword = stopwordsOf({"x"});
    const struct { std::string text; std::string kept; int64_t removed; } cases[] = {
        {"", "", 0},
        {"a", "a", 0},                                     // no line end after the last line: none added
        {"a\rb\rc", "a\rb\rc", 0},                         // lone CR
        {"a\nb\nc\n", "a\nb\nc\n", 0},                     // lone LF ends a line and stays
        {"a\nx\nc", "a\nc", 1},
        {"x\na\r\nb\rc\n", "a\r\nb\rc\n", 1},             // each kept line keeps its own end
        {"a\r\n\nb", "a\r\nb", 1},                         // CR LF then LF: an empty line
        {"a\n\rb", "a\nb", 1},                               // LF then CR: an empty line too
        {"x 1\r\nx 2\r\n", "", 2},                         // every line removed: empty file
        {"a\r\nx", "a\r\n", 1},
        {"  lead\t1\r\n", "  lead\t1\r\n", 0},             // written back with its blanks
        {"x\r\n\r\n", "", 2},
        {bytes("a\0b\r\n", 5), bytes("a\0b\r\n", 5), 0},
        // Ctrl-Z: the line read so far is filtered, the rest carried over as is.
        {"a\r\nb\x1a\r\nx\ny", "a\r\nb\x1a\r\nx\ny", 0},
        {"a\r\nx\x1azz", "a\r\n\x1azz", 1},
        {"a\r\n\x1a", "a\r\n\x1a", 0},
        {"\x1a" "x\r\n", "\x1a" "x\r\n", 0},
        {"a\r\x1a", "a\r\x1a", 0},
    };
    for (const auto& c : cases) {
        int64_t removed = -1;
        EXPECT_EQ(filterText(c.text, isStopword, &removed), c.kept) << testing::PrintToString(c.text);
        EXPECT_EQ(removed, c.removed) << testing::PrintToString(c.text);
    }
}

TEST(StopwordsTextLines, ASecondPassKeepsTheResult)
{
    StopwordTest isStopword = stopwordsOf({"x"});
    for (std::string text : {"a\nb\rx\r\nc", "a\r\nq\x1a tail\r\n\n", "no end", "\n\n\r", "\xEF\xBB\xBFx\na"}) {
        std::string once = filterText(text, isStopword);
        int64_t removed = -1;
        EXPECT_EQ(filterText(once, isStopword, &removed), once) << testing::PrintToString(text);
        EXPECT_EQ(removed, 0);
    }
}

TEST(StopwordsTextLines, ChunkBoundariesDoNotMatter)
{
    const std::string text =
        "\xEF\xBB\xBFthe cat\t12\r\ncat\tthe\r\n\r\n  \t5\rOf mice\t3\nthe,dog\t1\r\n\nbig  dog\r\nlast\x1a" "tail\r\nthe";
    StopwordTest isStopword = stopwordsOf({"of", "the", "big"});
    int64_t wholeRemoved = 0;
    std::string whole = filterText(text, isStopword, &wholeRemoved);
    for (size_t chunkSize = 1; chunkSize <= text.size(); ++chunkSize) {
        int64_t removed = 0;
        EXPECT_EQ(filterInChunks(text, chunkSize, isStopword, &removed), whole) << chunkSize;
        EXPECT_EQ(removed, wholeRemoved) << chunkSize;
    }
    EXPECT_EQ(whole, "\xEF\xBB\xBF" "cat\tthe\r\nOf mice\t3\nthe,dog\t1\r\nlast\x1a" "tail\r\nthe");
    EXPECT_EQ(wholeRemoved, 5);
}

TEST(StopwordsTextLines, CaseAndPunctuationMatter)
{
    StopwordTest isStopword = stopwordsOf({"the"});
    EXPECT_FALSE(lineIsRemoved("The end", isStopword));
    EXPECT_FALSE(lineIsRemoved("the. end", isStopword));
    EXPECT_FALSE(lineIsRemoved("the\x01", isStopword));
    EXPECT_TRUE(lineIsRemoved("end the", isStopword));
}

// A UTF-8 byte-order mark at the very start stays in the file and is no part
// of the first line's first word.
TEST(StopwordsTextLines, AByteOrderMarkIsKeptAndHidesNoWord)
{
    StopwordTest isStopword = stopwordsOf({"the"});
    const struct { std::string text; std::string kept; int64_t removed; } cases[] = {
        {"\xEF\xBB\xBFthe cat\r\nthe dog\r\ncat", "\xEF\xBB\xBF" "cat", 2},
        {"\xEF\xBB\xBF" "cat\nthe\n", "\xEF\xBB\xBF" "cat\n", 1},
        {"\xEF\xBB\xBF", "\xEF\xBB\xBF", 0},                      // the mark alone is no line
        {"\xEF\xBB\xBF\x1a" "the", "\xEF\xBB\xBF\x1a" "the", 0},
        {"\xEF\xBB\xBF\r\ncat", "\xEF\xBB\xBF" "cat", 1},          // an empty first line
        {"\xEF\xBB\xBF \t1\r\n", "\xEF\xBB\xBF", 1},
        {"cat\r\n\xEF\xBB\xBFthe", "cat\r\n\xEF\xBB\xBFthe", 0}, // only at the very start
        {"\xEF\xBB" "the", "\xEF\xBB" "the", 0},                    // not a whole mark
    };
    for (const auto& c : cases) {
        int64_t removed = -1;
        EXPECT_EQ(filterText(c.text, isStopword, &removed), c.kept) << testing::PrintToString(c.text);
        EXPECT_EQ(removed, c.removed) << testing::PrintToString(c.text);
        for (size_t chunkSize = 1; chunkSize < 5; ++chunkSize) {
            EXPECT_EQ(filterInChunks(c.text, chunkSize, isStopword, &removed), c.kept) << chunkSize;
            EXPECT_EQ(removed, c.removed) << chunkSize;
        }
    }
}
