// The Corpus file: what makeframes writes reads back the same, and a text
// that is cut short, malformed or of another layout is refused with why.
#include "common/core/corpusformat.h"

#include <gtest/gtest.h>

namespace {

CorpusRecord sampleRecord()
{
    CorpusRecord record;
    record.codePage = 1250;
    record.options = {{"n", "3-5"}, {"length", "4"}, {"keep case", "yes"}};
    record.inputs = {{"C:\\texts\\a.txt", "texts\\a.txt", 120, 7}, {"-", "-", 0, 0}, {"/t/b\tc", "b\tc", 5, 1}};
    record.words = 125;
    record.sentences = 8;
    return record;
}

} // namespace

TEST(CorpusFormat, WrittenRecordReadsBack)
{
    const std::string text = writeCorpusText(sampleRecord());
    EXPECT_EQ(text, "makeframes corpus\t1\r\n"
                    "code page\t1250\r\n"
                    "option\tn\t3-5\r\n"
                    "option\tlength\t4\r\n"
                    "option\tkeep case\tyes\r\n"
                    "file\t120\t7\tC:\\texts\\a.txt\ttexts\\a.txt\r\n"
                    "file\t0\t0\t-\t-\r\n"
                    "file\t5\t1\t/t/b?c\tb?c\r\n"
                    "total\t3\t125\t8\r\n");
    CorpusRecord read;
    ASSERT_EQ(readCorpusText(text, read), "");
    EXPECT_EQ(read.codePage, 1250);
    ASSERT_EQ(read.options.size(), 3u);
    EXPECT_EQ(read.options[2].name, "keep case");
    EXPECT_EQ(read.options[2].value, "yes");
    ASSERT_EQ(read.inputs.size(), 3u);
    EXPECT_EQ(read.inputs[0].fullPath, "C:\\texts\\a.txt");
    EXPECT_EQ(read.inputs[0].givenName, "texts\\a.txt");
    EXPECT_EQ(read.inputs[0].words, 120u);
    EXPECT_EQ(read.inputs[0].sentences, 7u);
    EXPECT_EQ(read.inputs[2].givenName, "b?c");
    EXPECT_EQ(read.words, 125u);
    EXPECT_EQ(read.sentences, 8u);
}

TEST(CorpusFormat, DamagedTextsAreRefusedWithWhy)
{
    const std::string whole = writeCorpusText(sampleRecord());
    const std::string head = "makeframes corpus\t1\r\ncode page\t1252\r\n";
    const char* const notOurs = "it is not a corpus record as makeframes writes it: ";
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"", "it is cut short: it ends within its first line"},
        {"makeframes co", "it is cut short: it ends within its first line"},
        {whole.substr(0, whole.size() - 1), "it is cut short: its line 9 has no line end"},
        {whole.substr(0, whole.find("total")), "it is cut short: it has no total line"},
        {"frame\tfrequency\r\n", std::string(notOurs) + "its first line is not \"makeframes corpus\", a TAB and "
                                                         "the version of its layout"},
        {"makeframes corpus\t2\r\ncode page\t1252\r\ntotal\t0\t0\t0\r\n",
         "it was written by another version of makeframes (layout \"2\"; this one reads layout 1)"},
        {head + "file\t12\t1\tx\r\ntotal\t1\t12\t1\r\n", std::string(notOurs) + "line 3 has 4 fields instead of 5"},
        {head + "file\t1x\t1\tx\tx\r\n", std::string(notOurs) + "line 3 does not give the file's words and "
                                                                 "sentences as numbers"},
        {head + "file\t12\t1\tx\tx\r\ntotal\t1\t13\t1\r\n",
         std::string(notOurs) + "line 4 gives totals that are not those of the file lines"},
        {head + "total\t0\t0\t0\r\noption\tn\t4\r\n", std::string(notOurs) + "line 4 follows the total line"},
        {head + "opt\tn\t4\r\n", std::string(notOurs) + "line 3 begins with \"opt\", which is none of code page, "
                                                         "option, file and total"},
        {head + "option\tn\r4\r\n", std::string(notOurs) + "line 3 holds a lone CR or LF"},
        {head + "code page\t1251\r\ntotal\t0\t0\t0\r\n",
         std::string(notOurs) + "line 3 is not the one code page line (\"code page\", a TAB, a number)"},
        {"makeframes corpus\t1\r\ntotal\t0\t0\t0\r\n", std::string(notOurs) + "it has no code page line"},
    };
    for (const auto& c : cases) {
        CorpusRecord record;
        EXPECT_EQ(readCorpusText(c.text, record), c.problem) << c.text;
    }
}
