// Count lists read back: what is an n-gram TAB its count, and what is not.
#include "makeframes/core/countlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Read {
    std::vector<std::string> bad;
    std::vector<uint32_t> stream;
    std::string words;
};

// Reads the text in pieces of `piece` bytes, as a list named "l".
Read readList(const std::string& text, size_t piece = 1 << 20)
{
    CorpusReader corpus;
    WordStream words;
    BadCountLines bad;
    CountListReader list{corpus, words, 2, "l", bad, 0, 0, {}, {}};
    for (size_t at = 0; at < text.size(); at += piece)
        list.addBytes(text.data() + at, std::min(piece, text.size() - at));
    list.end();
    words.finish();
    return {bad.shown, words.held, corpus.words};
}

} // namespace

TEST(MakeframesCountList, EachBadLineIsNamedWithItsNumber)
{
    const struct {
        const char* line;
        const char* problem; // empty: a good line
    } cases[] = {
        {"of the\t12\r\n", ""},
        {"of the\t12\n", ""},
        {"of the\t12", ""},
        {"of the 12\r\n", "no TAB between the n-gram and its count"},
        {"\r\n", "no TAB between the n-gram and its count"},
        {"of the\t-3\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"of the\tmany\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"of the\t0\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"of the\t4294967296\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"of the\t\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"of the\t3\t4\r\n", "the count is not a whole number from 1 to 4294967295"},
        {"\t3\r\n", "the n-gram is empty"},
        {"of  the\t3\r\n", "an empty word (two spaces together, or a space at an end)"},
        {"of the \t3\r\n", "an empty word (two spaces together, or a space at an end)"},
        {"of\t3\r\n", "1 word, where the n-grams have 2"},
        {"of the end\t3\r\n", "3 words, where the n-grams have 2"},
    };
    for (const auto& c : cases) {
        const Read read = readList(std::string("a b\t1\r\n") + c.line);
        const std::vector<std::string> expected =
            *c.problem ? std::vector<std::string>{std::string("l:2: ") + c.problem} : std::vector<std::string>();
        EXPECT_EQ(read.bad, expected) << c.line;
    }
}

// Lines cut between pieces read as whole lines; each n-gram goes into the
// stream as its word ids, then its count.
TEST(MakeframesCountList, ListedNgramsInPiecesGoIntoTheStream)
{
    const std::string text = "of the\t12\r\nthe end\t4294967295\nof the\t3";
    for (size_t piece : {size_t(1), size_t(3), size_t(100)}) {
        const Read read = readList(text, piece);
        EXPECT_TRUE(read.bad.empty());
        EXPECT_EQ(read.words, "oftheend");
        EXPECT_EQ(read.stream, (std::vector<uint32_t>{0, 1, 12, 1, 2, 0xFFFFFFFFu, 0, 1, 3})) << piece;
    }
}
