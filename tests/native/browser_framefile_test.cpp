#include "browser/core/framefile.h"
#include "tests/support/celltext.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// Test texts are written with "→" for TAB and "¶" for CR LF.
std::string fromNotation(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 3, "→") == 0) {
            out += '\t';
            i += 3;
        } else if (text.compare(i, 2, "¶") == 0) {
            out += "\r\n";
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

} // namespace

TEST(FrameFile, SplitsIntoRecords)
{
    const struct {
        const char* name;
        const char* content;
        std::vector<const char*> records;
        int32_t variantTotal;
    } cases[] = {
        {"two records", "A→f→1¶a1→5¶¶B→g→2¶b1→3¶b2→1¶",
         {"1→A→f→1¶a1→5", "2→B→g→2¶b1→3¶b2→1"}, 3},
        {"empty last line", "A→f→1¶a1→5¶¶B→g→2¶b1→3¶b2→1¶¶",
         {"1→A→f→1¶a1→5", "2→B→g→2¶b1→3¶b2→1"}, 3},
        {"no final line end", "A→f→1¶a1→5¶¶B→g→2¶b1→3¶b2→1",
         {"1→A→f→1¶a1→5", "2→B→g→2¶b1→3¶b2→1"}, 3},
        {"three line ends between", "A→f→1¶a1→5¶¶¶B→g→2¶b1→3¶b2→1¶",
         {"1→A→f→1¶a1→5", "2→B→g→2¶b1→3¶b2→1"}, 3},
        {"four line ends between", "A→f→1¶a1→5¶¶¶¶B→g→2¶b1→3¶b2→1¶",
         {"1→A→f→1¶a1→5", "2→", "3→B→g→2¶b1→3¶b2→1"}, 3},
        {"five line ends between", "A→f→1¶¶¶¶¶B→g→2¶",
         {"1→A→f→1", "2→", "3→B→g→2"}, 0},
        {"empty first record stays", "¶¶A→f→1¶", {"1→", "2→A→f→1"}, 0},
        {"trims blanks and TABs", "  A→f→1¶a→2 → ¶¶ →B→g→1", {"1→A→f→1¶a→2", "2→B→g→1"}, 1},
        {"lone CR is no line end", "A\r\r\n\r\nB", {"1→A", "2→B"}, 0},
        {"empty file", "", {}, 0},
        {"only blank bytes", " ¶→", {}, 0},
        {"one record without line end", "A→f→0", {"1→A→f→0"}, 0},
        {"one variant without line end", "a * b→1→1¶a x b→1", {"1→a * b→1→1¶a x b→1"}, 1},
        {"blank line ends at the end", "A→f→1¶a1→5¶ ¶→¶", {"1→A→f→1¶a1→5"}, 1},
    };
    for (const auto& c : cases) {
        std::vector<std::string> records{"old", "records", "here"};
        int32_t count = -5, variants = -5;
        buildFrameRecords(fromNotation(c.content), records, count, variants);
        ASSERT_EQ(count, static_cast<int32_t>(c.records.size())) << c.name;
        ASSERT_EQ(records.size(), c.records.size() + 1) << c.name;
        EXPECT_EQ(records[0], "") << c.name;
        for (size_t i = 0; i < c.records.size(); ++i)
            EXPECT_EQ(records[i + 1], fromNotation(c.records[i])) << c.name << " record " << i + 1;
        EXPECT_EQ(variants, c.variantTotal) << c.name;
    }
}

TEST(FrameFile, LineFeedOnlyFileIsOneRecord)
{
    std::vector<std::string> records;
    int32_t count = 0, variants = 0;
    buildFrameRecords("A\tf\t1\na1\t5\n\nB\tg\t2\n", records, count, variants);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(records[1], "1\tA\tf\t1\na1\t5\n\nB\tg\t2");
    EXPECT_EQ(variants, 0);
}

TEST(FrameFile, RankIsPlainDecimalPosition)
{
    std::string content;
    for (int i = 0; i < 1234; ++i)
        content += "x\t1\t0\r\n\r\n";
    std::vector<std::string> records;
    int32_t count = 0, variants = 0;
    buildFrameRecords(content, records, count, variants);
    ASSERT_EQ(count, 1234);
    EXPECT_EQ(records[9], "9\tx\t1\t0");
    EXPECT_EQ(records[10], "10\tx\t1\t0");
    EXPECT_EQ(records[1234], "1234\tx\t1\t0");
}

TEST(FrameFile, ShortFileNameCountsBackslashesOnly)
{
    EXPECT_EQ(shortFileName("C:\\data\\corpus-Freq-phraseFrames.txt"), "corpus-Freq-phraseFrames.txt");
    EXPECT_EQ(shortFileName("plain.txt"), "plain.txt");
    EXPECT_EQ(shortFileName("C:/data/plain.txt"), "C:/data/plain.txt");
    EXPECT_EQ(shortFileName("C:\\data/sub/plain.txt"), "data/sub/plain.txt");
    EXPECT_EQ(shortFileName("C:\\data\\"), "");
    EXPECT_EQ(shortFileName(""), "");
}

TEST(FrameFile, StatusText)
{
    const char* second = "Select item to show phrase variants. Click on heading to re-sort.";
    EXPECT_EQ(statusText(1204, 15730, "C:\\corpora\\corpus-Freq-phraseFrames.txt"),
              std::string("1,204 phrase-frames with 15,730 variants in corpus-Freq-phraseFrames.txt.\r") +
                  second);
    EXPECT_EQ(statusText(0, 0, "empty.txt"),
              std::string("0 phrase-frames with 0 variants in empty.txt.\r") + second);
    EXPECT_EQ(statusText(1, -1234, "D:\\lf.txt"),
              std::string("1 phrase-frames with -1,234 variants in lf.txt.\r") + second);
}

TEST(FrameFile, CellText)
{
    const std::string full = fromNotation("12→in the * of→345→3¶in the middle of→200¶b→100¶c→45");
    const std::string longField = std::string(150, 'x');
    const std::string withNul = std::string("3\tab\0cd\t7\t2\r\nv\t1", 16);
    const struct {
        std::string record;
        int column;
        std::string text;
    } cases[] = {
        {full, 1, "12"},
        {full, 2, "in the * of"},
        {full, 3, "345"},
        {full, 4, "3"},
        {"1\t" + longField + "\t5\t0", 2, std::string(99, 'x')},
        {"1\tA\t5\t" + longField + "\r\nv\t1", 4, std::string(99, 'x')},
        {withNul, 2, "ab cd"},
        {std::string("9\tA\t1\t\0" "2\r\nv", 11), 4, " 2"},
        {withNul, 3, "7"},
        {"4\tA\t9", 4, ""},
        {"4\tA", 3, ""},
        {"5\t", 2, ""},
        {"6\t  padded \t1\t1", 2, "  padded "},
        {fromNotation("7→A¶v→9"), 2, fromNotation("A¶v")},
        {fromNotation("7→A¶v→9"), 3, "9"},
        {fromNotation("8→A→1→2 ¶v→9"), 4, "2 "},
        {fromNotation("8→A→1→2¶v→9→extra"), 4, "2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellText(c.record, c.column), c.text) << c.record << " column " << c.column;
}

TEST(FrameFile, HeaderFieldsAndSummary)
{
    const std::string record = fromNotation("1→A→f→1¶a1→5¶a2→3");
    EXPECT_EQ(headerField(record, 1), "1");
    EXPECT_EQ(headerField(record, 2), "A");
    EXPECT_EQ(headerField(record, 4), "1");
    EXPECT_EQ(headerField(record, 5), "");
    EXPECT_EQ(frameSummary(record), "A:  rank 1, frequency f, variants 1");
    EXPECT_EQ(frameSummary(fromNotation("12→in the * of→345→3¶x→1")),
              "in the * of:  rank 12, frequency 345, variants 3");
    EXPECT_EQ(frameSummary(fromNotation("7→A¶v→9")), "A:  rank 7, frequency , variants ");
    EXPECT_EQ(frameSummary("2\t"), ":  rank 2, frequency , variants ");
}

TEST(FrameFile, VariantLines)
{
    EXPECT_EQ(variantLines(fromNotation("1→A→f→2¶a1→5¶a2→3")), fromNotation("a1→5¶a2→3"));
    EXPECT_EQ(variantLines(fromNotation("1→A→f→0")), "");
    EXPECT_EQ(variantLines(fromNotation("1→A→f→0¶")), "");
    EXPECT_EQ(variantLines("1\tA\r\rx"), "");
}

TEST(FrameFile, NumberKey)
{
    const struct {
        const char* text;
        int32_t key;
    } cases[] = {
        {"12", 12}, {"  12abc", 12}, {"\t\n 7", 7}, {"-3", -3}, {"+4", 4},
        {"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"-3.5", -4}, {"2.51", 3}, {"2.500001", 3},
        {"2.4999", 2}, {"0.5", 0}, {".5", 0}, {".7", 1}, {"7.", 7}, {"-.6", -1},
        {"", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"\r\n5", 0}, {"3\r\nv\t5", 3},
        {"1e5", 1}, {"&H10", 0}, {"1 2", 1}, {"- 3", 0},
        {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"99999999999999999999", INT32_MAX},
        {"2147483646.5", 2147483646}, {"2147483647.5", INT32_MAX},
        {"-2147483648", INT32_MIN}, {"-2147483648.5", INT32_MIN}, {"-2147483649", INT32_MIN},
        {"-99999999999999999999", INT32_MIN},
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(numberKey(text.data(), text.size()), c.key) << '"' << c.text << '"';
    }
    // The length bounds the text; bytes beyond it are not read.
    EXPECT_EQ(numberKey("123", 2), 12);
    EXPECT_EQ(numberKey("2.5", 2), 2);
    EXPECT_EQ(numberKey("9", 0), 0);
}

// A README or a file with LF line ends loads as a few records with no frame
// line; a phrase-frame file has one in its first record.
TEST(FrameFile, TellsPhraseFrameFilesFromOtherText)
{
    const struct {
        const char* content;
        bool looksLike;
    } cases[] = {
        {"A\tf\t1\r\na1\t5\r\n\r\nB\tg\t2\r\nb1\t3\r\n", true},
        {"# Title\r\n\r\nSome text.\r\nMore text.\r\n", false},
        {"A\tf\t1\na1\t5\n\nB\tg\t2\n", false},  // LF line ends
        {"A\tf\r\na1\t5\r\n", false},             // one TAB: no frequency and count
        // makeframes' statistics: a table with a header row and no blank line.
        {"frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\ttop variant share\t"
         "entropy (bits)\trange\tper million words\r\n"
         "in the * of\t12\t3\t0.2500\tin the middle of\t0.5000\t1.4591\t2\t120.0000\r\n", false},
        {"notes\r\n\r\nA\tf\t1\r\na1\t5\r\n", true}, // a frame line in a later record
        {"", true},                               // nothing to judge
    };
    for (const auto& c : cases) {
        std::vector<std::string> records;
        int32_t count = 0;
        int32_t variants = 0;
        buildFrameRecords(c.content, records, count, variants);
        EXPECT_EQ(looksLikePhraseFrames(records, count), c.looksLike) << c.content;
    }
    EXPECT_EQ(notPhraseFramesText("C:\\x\\README.md"),
              "C:\\x\\README.md\r\ndoes not look like a phrase-frame file: no line in it holds a phrase frame, "
              "its frequency and its number of variants separated by TABs.\r\n\r\nIt is shown as it was read.");
}

// The label would end at a NUL in the frame or a count: it shows a blank.
TEST(FrameFile, LabelShowsNulsAsBlanks)
{
    const std::string record("3\tab\0cd\t7\t2\r\nv\t1", 16);
    EXPECT_EQ(frameSummary(record), "ab cd:  rank 3, frequency 7, variants 2");
}
