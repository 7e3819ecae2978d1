#include "makeframes/core/wordstream.h"
#include "makeframes/core/framebuild.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Reads each text as one input file, as the tool does: its kind from its
// first textCheckBytes.
void readTexts(CorpusReader& corpus, WordStream& corpusWords, const std::vector<std::string>& texts)
{
    for (const std::string& text : texts) {
        corpus.beginFile(classifyText(text.data(), std::min(text.size(), textCheckBytes), text.size() <= textCheckBytes));
        corpus.addBytes(text.data(), text.size());
        corpus.endFile();
    }
    corpusWords.finish();
}

struct Files {
    std::string alpha;
    std::string freq;
    FrameCounts counts;
};

Files buildFiles(const std::vector<std::string>& texts, FrameSettings settings, uint64_t streamIds = 0)
{
    ScratchFolder scratch;
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpusWords.memoryLimit = streamIds;
    corpusWords.spillName = scratch / "words";
    readTexts(corpus, corpusWords, texts);
    const RankedWords ranked = rankWords(corpus);
    settings.scratchFolder = scratch.path;
    Files files;
    files.counts = writeFrameFiles(corpus, corpusWords, ranked, settings, scratch / "a.txt", scratch / "f.txt");
    files.alpha = readAll(scratch / "a.txt");
    files.freq = readAll(scratch / "f.txt");
    // Only the two files are left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.path), fs::directory_iterator()), streamIds ? 3 : 2);
    return files;
}

FrameSettings lengthOf(int n)
{
    FrameSettings settings;
    settings.length = n;
    settings.memoryBytes = 64 << 20; // all in memory, and quick under the sanitizers
    return settings;
}

} // namespace

TEST(MakeframesText, ClassifiesTheStartOfAFile)
{
    const struct {
        std::string text;
        bool atEnd;
        TextKind kind;
    } cases[] = {
        {"plain text", true, textAscii},
        {std::string("\xff\xfe" "a\0", 4), true, textUtf16le},
        {std::string("\xfe\xff\0a", 4), true, textUtf16be},
        {"caf\xe9 au lait", true, textEightBit},
        {"caf\xc3\xa9", true, textUtf8},
        {"\xef\xbb\xbfplain", true, textUtf8},
        {std::string("a\0b", 3), true, textBinary},
        {"caf\xc3\xa9 \xc3", false, textUtf8},   // cut by the end of the window
        {"caf\xc3\xa9 \xc3", true, textEightBit}, // cut by the end of the file
        {"\xc0\xaf", true, textEightBit},         // overlong
        {"\xed\xa0\x80", true, textEightBit},     // surrogate
        {"\xc3\xa9 and \xe9", true, textEightBit}, // mixed
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyText(c.text.data(), c.text.size(), c.atEnd), c.kind) << c.text;
}

TEST(MakeframesText, CodePage1252Forms)
{
    const struct {
        uint32_t codePoint;
        int byte;
    } cases[] = {{'a', 'a'}, {0xE9, 0xE9}, {0xA0, 0xA0}, {0x20AC, 0x80}, {0x2019, 0x92}, {0x0178, 0x9F},
                 {0x017D, 0x8E}, {0x81, -1}, {0x0159, -1}, {0x4E2D, -1}, {0x2192, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(cp1252Byte(c.codePoint), c.byte) << std::hex << c.codePoint;
}

// A text of code points as UTF-16 with its byte-order mark.
std::string utf16(const std::u32string& text, bool bigEndian)
{
    std::u16string units = u"\xfeff";
    for (char32_t c : text) {
        if (c < 0x10000) {
            units += static_cast<char16_t>(c);
        } else {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    std::string bytes;
    for (char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// The stream as texts: "<file>" for a file's start, "." for a sentence end.
std::vector<std::string> streamTexts(const CorpusReader& corpus, const WordStream& corpusWords)
{
    std::vector<std::string> words;
    WordStreamReader reader(corpusWords);
    uint32_t id;
    while (reader.next(id))
        words.push_back(id == fileStartId ? "<file>" : id == sentenceEndId ? "." : corpus.wordText(id));
    return words;
}

TEST(MakeframesText, WordsAndSentences)
{
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    readTexts(corpus, corpusWords, {"It's 3.5 km, 'quoted' 1,000.\r\nNext line\n\n  \nnew\tparagraph 3. x"});
    const std::vector<std::string> words = streamTexts(corpus, corpusWords);
    const std::vector<std::string> expected = {"<file>", "it's", "3.5", "km", "quoted", "1,000", ".", "next",
                                               "line", ".", "new", "paragraph", "3", ".", "x", "."};
    EXPECT_EQ(words, expected);
    EXPECT_EQ(corpus.wordCount, 11u);
    EXPECT_EQ(corpus.sentenceCount, 4u);
}

// A word longer than maxWordBytes keeps its first whole characters that fit
// and its place; what follows it is read as after the whole word.
TEST(MakeframesText, LongWordsAreCutAndCounted)
{
    const std::string a(maxWordBytes, 'a');
    const std::string e = "\xc3\xa9"; // é in UTF-8
    struct Case {
        std::string text;
        bool utf8Words, joinHyphens;
        std::vector<std::string> words;
        uint64_t cut;
    } cases[] = {
        {"x " + a + " y", false, false, {"x", a, "y"}, 0},
        {"x " + a + a + a + " y.", false, false, {"x", a, "y"}, 1},
        {a + "b1.5 c", false, false, {a, "c"}, 1},              // a digit before "." past the cut
        {a + "b-c d", false, true, {a, "d"}, 1},                // a letter before "-" past the cut
        {a.substr(1) + "'bb'", false, false, {a.substr(1) + "'", }, 1}, // the cut end keeps its apostrophe
        {a.substr(1) + e + " x", true, false, {a.substr(1), "x"}, 1},   // a character is kept whole or not at all
        {a.substr(2) + e + " x", true, false, {a.substr(2) + e, "x"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(maxWordBytes - 4));
        CorpusReader corpus;
        corpus.utf8Words = c.utf8Words;
        corpus.joinHyphens = c.joinHyphens;
        WordStream corpusWords;
        sendIdsTo(corpus, corpusWords);
        readTexts(corpus, corpusWords, {c.text});
        std::vector<std::string> expected = {"<file>"};
        expected.insert(expected.end(), c.words.begin(), c.words.end());
        expected.push_back(".");
        EXPECT_EQ(streamTexts(corpus, corpusWords), expected);
        EXPECT_EQ(corpus.cutWordCount, c.cut);
    }

    // A file of one endless word, read in pieces: the word is never held whole.
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpus.beginFile(textAscii);
    const std::string piece(1 << 16, 'a');
    for (int k = 0; k < 64; ++k)
        corpus.addBytes(piece.data(), piece.size());
    EXPECT_LE(corpus.word.capacity(), 2 * maxWordBytes);
    corpus.endFile();
    EXPECT_EQ(corpus.words, a);
    EXPECT_EQ(corpus.cutWordCount, 1u);
}

// The tool reads a file in pieces of 1 MiB, so a piece may end inside a
// UTF-8 sequence, a number ("3.|5"), a run of apostrophes or a line end.
TEST(MakeframesText, ReadingInPiecesGivesTheWordsOfOneRead)
{
    const std::string texts[] = {
        "\xef\xbb\xbf" "Caf\xc3\xa9 \xe2\x80\x93 Dvo\xc5\x99\xc3\xa1k\xe2\x80\x99s 3.5 km, 1,000. x\r\n\r\ny \xf0\x9f\x98\x80 z",
        "It's 3.5 km, ''quoted'' 1,000.\r\nNext\n\n2,5, 3. end 7.",
        "Na\xefve caf\xe9 don\x92t 4.2. \x80 \xc3 done",
        "Plain at first, then caf\xc3\xa9 au lait",
        "Plain at first, then caf\xc3\xa9 and \xe9t\xe9",
        utf16(U"Caf\u00e9 \u2013 Dvo\u0159\u00e1k\u2019s 3.5 km. \U0001F600 z", false),
        utf16(U"Caf\u00e9 \u2013 Dvo\u0159\u00e1k\u2019s 3.5 km. \U0001F600 z", true),
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        const TextKind kind = classifyText(text.data(), text.size(), true);
        CorpusReader whole;
        WordStream wholeWords;
        sendIdsTo(whole, wholeWords);
        readTexts(whole, wholeWords, {text});
        const std::vector<std::string> expected = streamTexts(whole, wholeWords);
        // Reads the text cut at the given places.
        const auto readInPieces = [&](const std::vector<size_t>& cuts) {
            CorpusReader pieces;
            WordStream piecesWords;
            sendIdsTo(pieces, piecesWords);
            pieces.beginFile(kind);
            size_t from = 0;
            for (size_t cut : cuts) {
                pieces.addBytes(text.data() + from, cut - from);
                from = cut;
            }
            pieces.addBytes(text.data() + from, text.size() - from);
            pieces.endFile();
            piecesWords.finish();
            EXPECT_EQ(streamTexts(pieces, piecesWords), expected);
            EXPECT_EQ(pieces.unmappedCount, whole.unmappedCount);
        };
        for (size_t cut = 1; cut < text.size(); ++cut) {
            SCOPED_TRACE(cut);
            readInPieces({cut});
        }
        std::vector<size_t> everyByte(text.size() - 1);
        std::iota(everyByte.begin(), everyByte.end(), size_t(1));
        readInPieces(everyByte);
    }
}

// A hyphen splits words unless hyphens join; then only one between two
// letters of the code page stays, in every encoding, U+2010 and U+2011 too.
// Read whole and a byte at a time (a piece may end on the hyphen).
TEST(MakeframesText, HyphensSplitOrJoinLetters)
{
    const struct {
        std::string text;
        int codePage;
        const char* split;
        const char* joined;
    } cases[] = {
        {"So-called -so so- so--called a-1 1-a x-ray so-\ncalled", 1252,
         "so called so so so called a 1 1 a x ray so called .",
         "so-called so so so called a 1 1 a x-ray so called ."},
        {"mother-in-law it's-a x'-y 3.5-fold", 1252, "mother in law it's a x y 3.5 fold .",
         "mother-in-law it's-a x y 3.5 fold ."},
        {"\xc4\xee\xec-\xd1\xe0\xe4", 1251, "\xe4\xee\xec \xf1\xe0\xe4 .", "\xe4\xee\xec-\xf1\xe0\xe4 ."},
        {"Дом-сад Дом\u2010сад", 1251, "\xe4\xee\xec \xf1\xe0\xe4 \xe4\xee\xec \xf1\xe0\xe4 .",
         "\xe4\xee\xec-\xf1\xe0\xe4 \xe4\xee\xec-\xf1\xe0\xe4 ."},
        {utf16(U"Дом\u2011сад a\u2192b", false), 1251, "\xe4\xee\xec \xf1\xe0\xe4 a b .",
         "\xe4\xee\xec-\xf1\xe0\xe4 a b ."},
        {"ΤΗΣ-ΤΗΣ", 1253, "\xf4\xe7\xf2 \xf4\xe7\xf2 .", "\xf4\xe7\xf2-\xf4\xe7\xf2 ."},
    };
    for (const auto& c : cases) {
        for (bool join : {false, true}) {
            SCOPED_TRACE(c.text + (join ? " joined" : " split"));
            for (size_t piece : {c.text.size(), size_t(1)}) {
                CorpusReader corpus;
                WordStream corpusWords;
                sendIdsTo(corpus, corpusWords);
                corpus.page = &codePage(c.codePage);
                corpus.joinHyphens = join;
                corpus.beginFile(classifyText(c.text.data(), c.text.size(), true));
                for (size_t from = 0; from < c.text.size(); from += piece)
                    corpus.addBytes(c.text.data() + from, std::min(piece, c.text.size() - from));
                corpus.endFile();
                corpusWords.finish();
                std::string words;
                for (const std::string& word : streamTexts(corpus, corpusWords))
                    if (word != "<file>")
                        words += (words.empty() ? "" : " ") + word;
                EXPECT_EQ(words, join ? c.joined : c.split) << piece;
            }
        }
    }
}

// A long text often holds its first non-ASCII character far past the first
// 64 KB: the bytes from there on tell UTF-8 from code page 1252.
TEST(MakeframesText, AfterAnAsciiStartTheFirstOtherBytesDecide)
{
    const std::string start(textCheckBytes + 1000, ' ');
    const struct {
        std::string later;
        std::vector<std::string> words;
    } cases[] = {
        {"Caf\xc3\xa9 na\xc3\xafve", {"<file>", "caf\xe9", "na\xefve", "."}},
        {"Caf\xe9 na\xefve", {"<file>", "caf\xe9", "na\xefve", "."}},
        // A 1252 letter and no-break space that happen to form a UTF-8
        // pair, then a byte that is not UTF-8.
        {"CAF\xc9\xa0na\xefve", {"<file>", "caf\xe9", "na\xefve", "."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.later);
        const std::string text = start + c.later;
        ASSERT_EQ(classifyText(text.data(), textCheckBytes, false), textAscii);
        CorpusReader corpus;
        WordStream corpusWords;
        sendIdsTo(corpus, corpusWords);
        readTexts(corpus, corpusWords, {text});
        EXPECT_EQ(streamTexts(corpus, corpusWords), c.words);
        EXPECT_EQ(corpus.unmappedCount, 0u);
    }
}

TEST(MakeframesText, WordStreamSpillsToItsFileAndReadsBackInOrder)
{
    ScratchFolder scratch;
    WordStream stream;
    stream.memoryLimit = 5;
    stream.spillName = scratch / "words";
    for (uint32_t k = 0; k < 23; ++k)
        stream.add(k);
    stream.finish();
    EXPECT_EQ(stream.spilledIds, 23u);
    WordStreamReader reader(stream);
    uint32_t id;
    uint32_t expected = 0;
    while (reader.next(id))
        EXPECT_EQ(id, expected++);
    EXPECT_EQ(expected, 23u);
}

// Sentence ends (. ! ? ; :), apostrophes, numbers with separators.
TEST(MakeframesFiles, HandWorkedBigrams)
{
    const Files files = buildFiles({"Don't stop. 'Don't' go; it's 1,000 km: it's 3.5 km. It's 1,000 km!"}, lengthOf(2));
    EXPECT_EQ(files.alpha, "* km\t3\t2\r\n1,000 km\t2\r\n3.5 km\t1\r\n\r\n"
                           "don't *\t2\t2\r\ndon't go\t1\r\ndon't stop\t1\r\n\r\n"
                           "it's *\t3\t2\r\nit's 1,000\t2\r\nit's 3.5\t1\r\n");
    EXPECT_EQ(files.freq, "* km\t3\t2\r\n1,000 km\t2\r\n3.5 km\t1\r\n\r\n"
                          "it's *\t3\t2\r\nit's 1,000\t2\r\nit's 3.5\t1\r\n\r\n"
                          "don't *\t2\t2\r\ndon't go\t1\r\ndon't stop\t1\r\n");
    EXPECT_EQ(files.counts.ngrams, 8u);
    EXPECT_EQ(files.counts.frames, 3u);
    EXPECT_EQ(files.counts.variants, 6u);
}

TEST(MakeframesFiles, Utf8WithCodePageForms)
{
    const std::string text = "\xe2\x80\x9c" "Caf\xc3\xa9 au lait.\xe2\x80\x9d Caf\xc3\xa9 noir \xe2\x80\x93 CAF\xc3\x89 au lait";
    const Files files = buildFiles({text}, lengthOf(2));
    const std::string expected = "caf\xe9 *\t3\t2\r\ncaf\xe9 au\t2\r\ncaf\xe9 noir\t1\r\n";
    EXPECT_EQ(files.alpha, expected);
    EXPECT_EQ(files.freq, expected);
}

TEST(MakeframesFiles, Utf8WithoutCodePageFormsIsCountedAndWrittenAsQuestionMarks)
{
    const std::string text = "Dvo\xc5\x99\xc3\xa1k wrote. Dvo\xc5\x99\xc3\xa1k played. Dvo\xc5\x99\xc3\xa1k \xe2\x86\x92 slept.";
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    readTexts(corpus, corpusWords, {text});
    EXPECT_EQ(corpus.unmappedCount, 4u);
    EXPECT_EQ(corpus.wordCount, 6u); // the arrow separates words and does not end the sentence
    const Files files = buildFiles({text}, lengthOf(2));
    const std::string expected = "dvo?\xe1k *\t3\t3\r\ndvo?\xe1k played\t1\r\ndvo?\xe1k slept\t1\r\ndvo?\xe1k wrote\t1\r\n";
    EXPECT_EQ(files.alpha, expected);
    EXPECT_EQ(files.freq, expected);
}

// The typographic apostrophe, in 8-bit text and in UTF-8, keeps a word
// whole and is dropped at its ends like a quotation mark.
TEST(MakeframesFiles, TypographicApostrophesStayInWords)
{
    const std::string expected = "don\x92t *\t2\t2\r\ndon\x92t go\t1\r\ndon\x92t stop\t1\r\n";
    EXPECT_EQ(buildFiles({"Don\x92t stop. \x91" "Don\x92t\x92 go."}, lengthOf(2)).alpha, expected);
    EXPECT_EQ(buildFiles({"Don\xe2\x80\x99t stop. \xe2\x80\x98" "Don\xe2\x80\x99t\xe2\x80\x99 go."}, lengthOf(2)).alpha,
              expected);
}

// Windows editors save "Unicode" text as UTF-16 with a byte-order mark.
TEST(MakeframesFiles, Utf16InBothByteOrders)
{
    const std::u32string text = U"\u201cCaf\u00e9 au lait.\u201d Caf\u00e9 noir \u2013 CAF\u00c9 au lait. Dvo\u0159\u00e1k";
    const std::string expected = "caf\xe9 *\t3\t2\r\ncaf\xe9 au\t2\r\ncaf\xe9 noir\t1\r\n";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian);
        EXPECT_EQ(buildFiles({utf16(text, bigEndian)}, lengthOf(2)).alpha, expected);
        CorpusReader corpus;
        WordStream corpusWords;
        sendIdsTo(corpus, corpusWords);
        readTexts(corpus, corpusWords, {utf16(text, bigEndian)});
        EXPECT_EQ(corpus.unmappedCount, 1u); // the r with caron
    }
    // Halves of characters: a lone surrogate, and a last byte without its pair.
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    readTexts(corpus, corpusWords, {std::string("\xff\xfe" "a\0\x00\xd8" "b\0c", 9)});
    EXPECT_EQ(streamTexts(corpus, corpusWords), (std::vector<std::string>{"<file>", "a?b?", "."}));
    EXPECT_EQ(corpus.unmappedCount, 2u);
}

TEST(MakeframesFiles, KeepCase)
{
    FrameSettings settings = lengthOf(2);
    const Files folded = buildFiles({"The cat. the dog. The cat."}, settings);
    EXPECT_EQ(folded.alpha, "the *\t3\t2\r\nthe cat\t2\r\nthe dog\t1\r\n");
    ScratchFolder scratch;
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpus.keepCase = true;
    readTexts(corpus, corpusWords, {"The cat. the dog. The cat. The dog."});
    settings.memoryBytes = 64 << 20;
    settings.scratchFolder = scratch.path;
    writeFrameFiles(corpus, corpusWords, rankWords(corpus), settings, scratch / "a", scratch / "f");
    EXPECT_EQ(readAll(scratch / "a"),
              "* dog\t2\t2\r\nThe dog\t1\r\nthe dog\t1\r\n\r\nThe *\t3\t2\r\nThe cat\t2\r\nThe dog\t1\r\n");
}

TEST(MakeframesFiles, MinimumVariants)
{
    FrameSettings settings = lengthOf(2);
    const std::string text = "a b. a b. a c";
    EXPECT_EQ(buildFiles({text}, settings).alpha, "a *\t3\t2\r\na b\t2\r\na c\t1\r\n");
    settings.minVariants = 1;
    const Files one = buildFiles({text}, settings);
    EXPECT_EQ(one.alpha, "* b\t2\t1\r\na b\t2\r\n\r\na *\t3\t2\r\na b\t2\r\na c\t1\r\n");
    EXPECT_EQ(one.freq, "a *\t3\t2\r\na b\t2\r\na c\t1\r\n\r\n* b\t2\t1\r\na b\t2\r\n");
    settings.minVariants = 3;
    const Files none = buildFiles({text}, settings);
    EXPECT_EQ(none.alpha, "");
    EXPECT_EQ(none.freq, "");
    EXPECT_EQ(none.counts.frames, 0u);
}

TEST(MakeframesFiles, InnerSlotsOnly)
{
    FrameSettings settings = lengthOf(3);
    const std::string text = "a b c. a d c. x a b. y a b";
    EXPECT_EQ(buildFiles({text}, settings).alpha,
              "* a b\t2\t2\r\nx a b\t1\r\ny a b\t1\r\n\r\na * c\t2\t2\r\na b c\t1\r\na d c\t1\r\n");
    settings.innerSlotsOnly = true;
    EXPECT_EQ(buildFiles({text}, settings).alpha, "a * c\t2\t2\r\na b c\t1\r\na d c\t1\r\n");
}

TEST(MakeframesFiles, MinimumRangeCountsInputFiles)
{
    FrameSettings settings = lengthOf(2);
    const std::vector<std::string> texts = {"x y. x z. q r", "a b. a c. q s"};
    const Files all = buildFiles(texts, settings);
    EXPECT_EQ(all.alpha, "a *\t2\t2\r\na b\t1\r\na c\t1\r\n\r\nq *\t2\t2\r\nq r\t1\r\nq s\t1\r\n\r\n"
                         "x *\t2\t2\r\nx y\t1\r\nx z\t1\r\n");
    settings.minRange = 2;
    EXPECT_EQ(buildFiles(texts, settings).alpha, "q *\t2\t2\r\nq r\t1\r\nq s\t1\r\n");
    settings.minRange = 3;
    EXPECT_EQ(buildFiles(texts, settings).alpha, "");
    // A frame seen twice in one file has range 1, not 2; n-grams do not run
    // on from one file into the next.
    settings.minRange = 2;
    EXPECT_EQ(buildFiles({"q r. q s. a", "b"}, settings).alpha, "");
}

// A few thousand words, most of them from a handful of common ones, so that
// frames repeat.
std::string generatedText(unsigned seed, int words)
{
    const char* common[] = {"the", "of", "cat", "dog", "sat", "on", "mat", "a", "big", "red", "it's",
                            "1,000", "3.5", "\xe9t\xe9", "ran", "and"};
    std::string text;
    uint32_t state = seed;
    for (int k = 0; k < words; ++k) {
        state = state * 1103515245u + 12345u;
        const uint32_t r = (state >> 16) & 0x7FFF;
        if (r % 3 != 0)
            text += common[(r / 3) % 16 % (1 + r % 16)];
        else
            text += "w" + std::to_string(r % 400);
        text += r % 11 == 0 ? ". " : r % 37 == 0 ? "\n\n" : " ";
    }
    return text;
}

TEST(MakeframesFiles, SortedRunsOnDiskGiveTheSameBytesAsMemory)
{
    const std::vector<std::string> texts = {generatedText(1, 4000), generatedText(2, 3000), generatedText(3, 50)};
    for (int n : {2, 3, 5}) {
        for (int variant = 0; variant < (n > 2 ? 3 : 2); ++variant) {
            FrameSettings settings = lengthOf(n);
            settings.minRange = variant == 1 ? 2 : 1;
            settings.innerSlotsOnly = variant == 2;
            settings.minFrequency = variant == 0 ? 1 : 2;
            settings.minVariants = variant == 0 ? 1 : 2;
            const Files inMemory = buildFiles(texts, settings);
            settings.memoryBytes = 1;
            const Files onDisk = buildFiles(texts, settings, 100);
            SCOPED_TRACE("n=" + std::to_string(n) + " variant " + std::to_string(variant));
            EXPECT_FALSE(inMemory.counts.spilled);
            EXPECT_TRUE(onDisk.counts.spilled);
            EXPECT_GT(inMemory.counts.frames, 10u);
            EXPECT_EQ(inMemory.counts.frames, onDisk.counts.frames);
            EXPECT_TRUE(inMemory.alpha == onDisk.alpha);
            EXPECT_TRUE(inMemory.freq == onDisk.freq);
        }
    }
}

// The sorts on one thread or several, in memory or spilling runs of
// thousands of records to disk: the same bytes in every file.
TEST(MakeframesFiles, ThreadsAndMemoryBoundsGiveTheSameBytes)
{
    ScratchFolder scratch;
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpusWords.spillName = scratch / "words";
    readTexts(corpus, corpusWords, {generatedText(4, 60000), generatedText(5, 40000)});
    const RankedWords ranked = rankWords(corpus);
    std::string first;
    for (uint64_t memory : {uint64_t(64) << 20, uint64_t(1) << 20})
        for (unsigned threads : {1u, 2u, 4u}) {
            FrameSettings settings = lengthOf(4);
            settings.minFrequency = 1;
            settings.memoryBytes = memory;
            settings.threads = threads;
            settings.scratchFolder = scratch.path;
            FrameFileNames names;
            names.alpha = scratch / "a.txt";
            names.freq = scratch / "f.txt";
            names.ngrams = scratch / "n.txt";
            names.stats = scratch / "s.txt";
            const FrameCounts counts = writeFrameFiles(corpus, corpusWords, ranked, settings, names);
            EXPECT_EQ(counts.spilled, memory < (uint64_t(64) << 20));
            const std::string made =
                readAll(names.alpha) + readAll(names.freq) + readAll(names.ngrams) + readAll(names.stats);
            if (first.empty())
                first = made;
            EXPECT_TRUE(made == first) << memory << " bytes, " << threads << " threads";
        }
    EXPECT_GT(first.size(), 100000u);
}
