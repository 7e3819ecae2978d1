#include "stopwords/core/inputkind.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string sourceFile(const std::string& path)
{
    std::ifstream file(std::string(CORVALE_SOURCE_DIR) + "/" + path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

InputKind kindOfText(const std::string& text)
{
    return inputKindOf("list.txt", text, true);
}

} // namespace

TEST(StopwordsInputKind, Utf16TextByItsByteOrderMark)
{
    EXPECT_EQ(kindOfText(std::string("\xFF\xFEt\0h\0e\0\r\0\n\0", 12)), InputKind::utf16Text);
    EXPECT_EQ(kindOfText(std::string("\xFE\xFF\0t\0h\0e", 8)), InputKind::utf16Text);
    EXPECT_EQ(kindOfText("\xFF"), InputKind::eightBitText);
    EXPECT_EQ(kindOfText("\xEF\xBB\xBFthe\t1\r\n"), InputKind::eightBitText); // UTF-8 is read
    EXPECT_EQ(kindOfText("\xFE\xFE x\t1"), InputKind::eightBitText);
}

TEST(StopwordsInputKind, PhraseFrameFilesByName)
{
    for (const char* name : {"x-Freq-phraseFrames.txt", "C:\\data\\x-Alpha-phraseFrames.txt",
                             "x-3-Alpha-phraseframes.TXT", "-phraseFrames.txt"})
        EXPECT_EQ(inputKindOf(name, "the cat\t3\r\n", true), InputKind::phraseFrames) << name;
    for (const char* name : {"phraseFrames.txt", "x-phraseFrames.txt.bak", "x-Ngrams.txt", "x-phraseFrames"})
        EXPECT_EQ(inputKindOf(name, "the cat\t3\r\n", true), InputKind::eightBitText) << name;
}

TEST(StopwordsInputKind, PhraseFrameFilesByTheirFirstRecords)
{
    // The bundled samples, under names that do not tell.
    for (const char* sample : {"samples/corvale-sample-Alpha-phraseFrames.txt",
                               "samples/corvale-sample-Freq-phraseFrames.txt"}) {
        const std::string text = sourceFile(sample);
        ASSERT_GT(text.size(), 2000u) << sample;
        EXPECT_EQ(inputKindOf("renamed.txt", text, true), InputKind::phraseFrames) << sample;
        // Only the start of a large file is looked at, its last line maybe cut.
        EXPECT_EQ(inputKindOf("renamed.txt", text.substr(0, 2000), false), InputKind::phraseFrames) << sample;
    }
}

// One rule at every size: a file is taken for phrase frames by its first two
// records, whole, and by nothing after them, so the answer is the same for
// the text alone (a small file) and for the text as the first megabyte of a
// larger one (more lines after it, the last cut short). A single record, or
// a first line of three fields (a spreadsheet's totals, a list with a range
// column), is an n-gram list at any size.
TEST(StopwordsInputKind, ThePhraseFrameRuleIsTheSameAtEverySize)
{
    std::string longRecord = "total\t1200000\t999999\r\n";
    for (int i = 0; i < 1000; ++i)
        longRecord += "phrase " + std::to_string(i) + "\t" + std::to_string(i + 1) + "\r\n";
    const struct { std::string text; InputKind kind; } cases[] = {
        {"* a book\t3\t2\r\nand a book\t2\r\nto a book\t1\r\n\r\nx *\t2\t1\r\nx y\t2\r\n", InputKind::phraseFrames},
        {"* a book\t3\t2\nand a book\t2\nto a book\t1\n\nx *\t2\t1\nx y\t2", InputKind::phraseFrames},
        {"* a book\t3\t2\r\nand a book\t2\r\nto a book\t1\r\n", InputKind::eightBitText}, // one record
        {"* a book\t3\t2\r\nand a book\t2\r\nto a book\t1\r\n\r\n", InputKind::eightBitText},
        {"blue sky\t5\t1\r\nred car\t4\r\n", InputKind::eightBitText},
        {"blue sky\t5\t1\r\nred car\t4\r\n\r\nold map\t3\r\n", InputKind::eightBitText},
        {longRecord, InputKind::eightBitText},
    };
    std::string more = "\r\n";
    while (more.size() < (2u << 20))
        more += "of the\t12\r\n";
    more += "cut sh";
    for (const auto& c : cases) {
        EXPECT_EQ(inputKindOf("a.txt", c.text, true), c.kind) << c.text.substr(0, 60);
        EXPECT_EQ(inputKindOf("a.txt", (c.text + more).substr(0, 1 << 20), false), c.kind) << c.text.substr(0, 60);
    }
}

// No n-gram list is refused: `phrase TAB frequency` lines, with CR LF (as
// makeframes -ngrams writes them) or LF, and tables that only look alike.
TEST(StopwordsInputKind, NoNgramListLooksLikePhraseFrames)
{
    const std::string bundled = sourceFile("samples/filter/ngrams.txt");
    ASSERT_GT(bundled.size(), 100u);
    EXPECT_EQ(inputKindOf("ngrams.txt", bundled, true), InputKind::eightBitText);
    EXPECT_EQ(inputKindOf("ngrams.txt", bundled.substr(0, 40), false), InputKind::eightBitText);
    const char* lists[] = {
        "the old harbour\t412\r\nof the town\t388\r\n",
        "the old harbour\t412\nof the town\t388\n",
        "of the\t12\r\n",
        "",
        "\r\n\r\n",
        "a b c\t12\t3\r\nd e f\t11\t3\r\n",     // a third column: frequency and range
        "a b c\t12\t1\r\nd e f\t11\r\ng h\t4\r\n", // a variant count not followed by a record end
        "a b c\t12\t2\r\nd e f\t11\r\n\r\n",     // fewer lines than the count
        "a *\t12\t0\r\n\r\n",
        "a *\t12\t1\r\nd e f\tx\r\n",
        "\t12\t1\r\nd e f\t11\r\n",
        "a *\t12\t1",
    };
    for (const char* text : lists)
        EXPECT_EQ(inputKindOf("3-Ngrams.txt", text, true), InputKind::eightBitText) << text;
}
