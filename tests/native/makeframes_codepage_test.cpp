// makeframes' code pages: each table on a text in its script, as UTF-8 and as
// 8-bit text, with the exact bytes of the file written.
#include "common/core/codepage.h"
#include "makeframes/core/wordstream.h"
#include "makeframes/core/framebuild.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Made {
    std::string alpha;
    uint64_t unmapped = 0;
};

// The bigram Alpha file of one text read in the code page (with utf8Words,
// the code page reads only 8-bit text and the files are UTF-8).
Made bigramsIn(int codePageNumber, const std::string& text, bool keepCase = false, bool utf8Words = false)
{
    ScratchFolder scratch;
    CorpusReader corpus;
    WordStream corpusWords;
    sendIdsTo(corpus, corpusWords);
    corpus.page = &codePage(codePageNumber);
    corpus.keepCase = keepCase;
    corpus.utf8Words = utf8Words;
    corpus.beginFile(classifyText(text.data(), text.size(), true));
    corpus.addBytes(text.data(), text.size());
    corpus.endFile();
    corpusWords.finish();
    FrameSettings settings;
    settings.length = 2;
    settings.memoryBytes = 64 << 20;
    settings.scratchFolder = scratch.path;
    settings.byteOrderMark = utf8Words;
    writeFrameFiles(corpus, corpusWords, rankWords(corpus), settings, scratch.path / "a.txt", scratch.path / "f.txt");
    return {readAll(scratch.path / "a.txt"), corpus.unmappedCount};
}

size_t distinctWords(int codePageNumber, const std::string& text)
{
    CorpusReader corpus;
    corpus.page = &codePage(codePageNumber);
    corpus.beginFile(classifyText(text.data(), text.size(), true));
    corpus.addBytes(text.data(), text.size());
    corpus.endFile();
    return corpus.vocabularySize();
}

} // namespace

// The fault this mends: a Russian corpus in the default code page comes out
// as question marks, and different words ("мир", "дом") become one.
TEST(MakeframesCodePage, RussianIn1251KeepsItsWordsApart)
{
    const std::string text = "Привет мир. ПРИВЕТ дом. привет мир. Ёлка стоит. ёлка горит.";
    EXPECT_EQ(distinctWords(1252, text), 4u); // "??????", "???", "????", "?????"
    EXPECT_EQ(distinctWords(1251, text), 6u);
    const Made made = bigramsIn(1251, text);
    EXPECT_EQ(made.unmapped, 0u);
    EXPECT_EQ(made.alpha, "\xb8\xeb\xea\xe0 *\t2\t2\r\n"
                          "\xb8\xeb\xea\xe0 \xe3\xee\xf0\xe8\xf2\t1\r\n"
                          "\xb8\xeb\xea\xe0 \xf1\xf2\xee\xe8\xf2\t1\r\n\r\n"
                          "\xef\xf0\xe8\xe2\xe5\xf2 *\t3\t2\r\n"
                          "\xef\xf0\xe8\xe2\xe5\xf2 \xe4\xee\xec\t1\r\n"
                          "\xef\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0\t2\r\n");
    // The same text saved in 1251 is read in 1251: 0xA8 is the capital Yo
    // there, not the diaeresis of 1252.
    const std::string eightBit = "\xcf\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0. \xcf\xd0\xc8\xc2\xc5\xd2 \xe4\xee\xec. "
                                 "\xef\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0. \xa8\xeb\xea\xe0 \xf1\xf2\xee\xe8\xf2. "
                                 "\xb8\xeb\xea\xe0 \xe3\xee\xf0\xe8\xf2.";
    EXPECT_EQ(bigramsIn(1251, eightBit).alpha, made.alpha);
}

TEST(MakeframesCodePage, PolishIn1250)
{
    const std::string expected = "\xbf\xf3\xb3w *\t3\t2\r\n\xbf\xf3\xb3w idzie\t2\r\n\xbf\xf3\xb3w \x9cpi\t1\r\n";
    EXPECT_EQ(bigramsIn(1250, "Żółw idzie. ŻÓŁW śpi. żółw idzie.").alpha, expected);
    EXPECT_EQ(bigramsIn(1250, "\xaf\xf3\xb3w idzie. \xaf\xd3\xa3W \x9cpi. \xbf\xf3\xb3w idzie.").alpha, expected);
}

TEST(MakeframesCodePage, GreekIn1253)
{
    // Capitals with the accent (Ή) fold to the accented small letter.
    const std::string expected = "\xea\xe1\xeb\xde *\t3\t2\r\n\xea\xe1\xeb\xde \xec\xdd\xf1\xe1\t2\r\n"
                                 "\xea\xe1\xeb\xde \xed\xfd\xf7\xf4\xe1\t1\r\n";
    EXPECT_EQ(bigramsIn(1253, "Καλή μέρα. ΚΑΛΉ νύχτα. καλή μέρα.").alpha, expected);
    EXPECT_EQ(bigramsIn(1253, "\xca\xe1\xeb\xde \xec\xdd\xf1\xe1. \xca\xc1\xcb\xb9 \xed\xfd\xf7\xf4\xe1. "
                              "\xea\xe1\xeb\xde \xec\xdd\xf1\xe1.")
                  .alpha,
              expected);
    // Tonos alone (0xB4) is an accent, not a letter: it separates words.
    EXPECT_EQ(bigramsIn(1253, "\xea\xe1\xeb\xde\xb4\xec\xdd\xf1\xe1. \xea\xe1\xeb\xde \xed\xfd\xf7\xf4\xe1.").alpha,
              expected.substr(0, expected.find('\t')) + "\t2\t2\r\n\xea\xe1\xeb\xde \xec\xdd\xf1\xe1\t1\r\n"
                                                         "\xea\xe1\xeb\xde \xed\xfd\xf7\xf4\xe1\t1\r\n");
}

// A sigma that ends a word is written ς in small letters, so "ΤΗΣ" meets
// "της" whatever the encoding it is read from; within a word, or alone as in
// the elided "σ'", it stays σ.
TEST(MakeframesCodePage, GreekCapitalsEndingInSigmaMeetTheirSmallForm)
{
    std::string utf16 = "\xff\xfe";
    for (char16_t c : std::u16string(u"ΤΗΣ της"))
        utf16 += std::string{static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    const struct {
        std::string text;
        bool keepCase;
        std::vector<std::string> words; // in 1253
    } cases[] = {
        {"ΤΗΣ της", false, {"\xf4\xe7\xf2"}},
        {"\xd4\xc7\xd3 \xf4\xe7\xf2", false, {"\xf4\xe7\xf2"}},
        {utf16, false, {"\xf4\xe7\xf2"}},
        {"ΣΟΣ, τησ.", false, {"\xf3\xef\xf2", "\xf4\xe7\xf2"}},
        {"Σ' ΑΣ Σ", false, {"\xf3", "\xe1\xf2"}},
        {"ΤΗΣ", true, {"\xd4\xc7\xd3"}},
    };
    for (const auto& c : cases) {
        CorpusReader corpus;
        corpus.page = &codePage(1253);
        corpus.keepCase = c.keepCase;
        corpus.beginFile(classifyText(c.text.data(), c.text.size(), true));
        corpus.addBytes(c.text.data(), c.text.size());
        corpus.endFile();
        std::vector<std::string> words;
        for (uint32_t id = 0; id < corpus.vocabularySize(); ++id)
            words.push_back(corpus.wordText(id));
        EXPECT_EQ(words, c.words) << c.text;
    }
}

// Turkish folds I to dotless ı and İ to i, so the capitals meet their own
// small letters.
TEST(MakeframesCodePage, TurkishIn1254)
{
    const std::string expected = "izmir *\t2\t2\r\nizmir b\xfcy\xfck\t1\r\nizmir g\xfczel\t1\r\n\r\n"
                                 "\xfd\xfe\xfdk *\t3\t2\r\n\xfd\xfe\xfdk geldi\t2\r\n\xfd\xfe\xfdk gitti\t1\r\n";
    EXPECT_EQ(bigramsIn(1254, "Işık geldi. IŞIK gitti. ışık geldi. İzmir güzel. izmir büyük.").alpha, expected);
    EXPECT_EQ(bigramsIn(1254, "I\xfe\xfdk geldi. I\xdeIK gitti. \xfd\xfe\xfdk geldi. \xddzmir g\xfczel. "
                              "izmir b\xfcy\xfck.")
                  .alpha,
              expected);
    // Elsewhere I is the English capital of i.
    EXPECT_EQ(bigramsIn(1252, "If so. IF not. if so.").alpha, "if *\t3\t2\r\nif not\t1\r\nif so\t2\r\n");
}

TEST(MakeframesCodePage, LithuanianIn1257)
{
    const std::string expected = "\xe0\xfeuolas *\t3\t2\r\n\xe0\xfeuolas auga\t2\r\n\xe0\xfeuolas \xfeydi\t1\r\n";
    EXPECT_EQ(bigramsIn(1257, "Ąžuolas auga. ĄŽUOLAS žydi. ąžuolas auga.").alpha, expected);
    EXPECT_EQ(bigramsIn(1257, "\xc0\xfeuolas auga. \xc0\xdeUOLAS \xfeydi. \xe0\xfeuolas auga.").alpha, expected);
    // Latvian long vowels and the cedilla letters of 1257.
    EXPECT_EQ(bigramsIn(1257, "Ūdens ķēde. ŪDENS ļoti. ūdens ķēde.").alpha,
              "\xfb" "dens *\t3\t2\r\n\xfb" "dens \xed\xe7" "de\t2\r\n\xfb" "dens \xef" "oti\t1\r\n");
}

TEST(MakeframesCodePage, FrenchIn1252)
{
    EXPECT_EQ(bigramsIn(1252, "Œuvre complète. ŒUVRE ÉCRITE. œuvre complète.").alpha,
              "\x9cuvre *\t3\t2\r\n\x9cuvre compl\xe8te\t2\r\n\x9cuvre \xe9" "crite\t1\r\n");
}

// A character the code page lacks is counted and written as ?, whatever the
// script of the rest; with case kept the capitals stay.
TEST(MakeframesCodePage, CharactersWithoutAFormAndKeptCase)
{
    const Made greekInCyrillic = bigramsIn(1251, "Дом α. дом β. ДОМ стоит.");
    EXPECT_EQ(greekInCyrillic.unmapped, 2u);
    EXPECT_EQ(greekInCyrillic.alpha,
              "\xe4\xee\xec *\t3\t2\r\n\xe4\xee\xec ?\t2\r\n\xe4\xee\xec \xf1\xf2\xee\xe8\xf2\t1\r\n");
    EXPECT_EQ(bigramsIn(1251, "Дом стоит. дом стоит. ДОМ горит.", true).alpha,
              "* \xf1\xf2\xee\xe8\xf2\t2\t2\r\n\xc4\xee\xec \xf1\xf2\xee\xe8\xf2\t1\r\n"
              "\xe4\xee\xec \xf1\xf2\xee\xe8\xf2\t1\r\n");
}

// UTF-8 words: every letter kept whatever the code page, with the same
// letter and case rules, in a file that starts with the byte-order mark; the
// code page still reads 8-bit text. Distinct words stay distinct.
TEST(MakeframesCodePage, Utf8WordsKeepEveryLetterInAFileWithTheByteOrderMark)
{
    const std::string russian = "\xEF\xBB\xBF" "привет *\t3\t2\r\nпривет дом\t1\r\nпривет мир\t2\r\n";
    const struct {
        int codePage;
        std::string text;
        std::string alpha;
    } cases[] = {
        {1252, "Привет мир. ПРИВЕТ дом. привет мир.", russian},
        {1251, "\xcf\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0. \xcf\xd0\xc8\xc2\xc5\xd2 \xe4\xee\xec. "
               "\xef\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0.",
         russian},
        // Three scripts in one file; quotes around a word dropped, hyphens
        // between letters of any script split.
        {1252, "’Ζωή’ мир-дом. Ζωή café. ζωή мир.",
         "\xEF\xBB\xBF" "ζωή *\t3\t2\r\nζωή café\t1\r\nζωή мир\t2\r\n"},
        {1253, "ΤΗΣ πόλης. της πόλης. ΤΗΣ Ελλάδας.",
         "\xEF\xBB\xBF" "της *\t3\t2\r\nτης ελλάδας\t1\r\nτης πόλης\t2\r\n"},
        {1254, "IŞIK geldi. Işık gitti. ışık geldi.",
         "\xEF\xBB\xBF" "ışık *\t3\t2\r\nışık geldi\t2\r\nışık gitti\t1\r\n"},
    };
    for (const auto& c : cases) {
        const Made made = bigramsIn(c.codePage, c.text, false, true);
        EXPECT_EQ(made.alpha, c.alpha) << c.text;
        EXPECT_EQ(made.unmapped, 0u) << c.text;
    }
}

// Every defined byte's character encodes back to that byte, 0x92 is the
// typographic apostrophe everywhere (word ends drop it as a byte), and a
// letter's small form is always in the same code page.
TEST(MakeframesCodePage, TablesAreConsistent)
{
    for (int number : {1250, 1251, 1252, 1253, 1254, 1257}) {
        ASSERT_TRUE(isSupportedCodePage(number));
        const CodePage& page = codePage(number);
        EXPECT_EQ(page.character[0x92], 0x2019u) << number;
        for (int b = 0; b < 256; ++b) {
            const uint32_t c = page.character[b];
            if (c == 0)
                continue;
            EXPECT_EQ(encodeCharacter(page, c), b) << number << " " << b;
            if (isLetter(c)) {
                EXPECT_GE(encodeCharacter(page, lowerCase(page, c)), 0) << number << " " << b;
            }
        }
    }
    for (int number : {0, 437, 1255, 65001})
        EXPECT_FALSE(isSupportedCodePage(number)) << number;
}
