// Reading a corpus for makeframes: what kind of text a file holds, its words
// and sentences, and the corpus as a stream of integer word ids.
//
// Code page. The words are written in one Windows code page (codepage.h,
// 1252 unless the reader is told another). 8-bit text is taken to be in that
// code page; UTF-8 and UTF-16 text is converted to it.
//
// Words. A word is a run of letters, digits and apostrophes: the letters of
// codepage.h (Latin, Greek, Cyrillic), the digits 0-9, ' and the typographic
// apostrophe U+2019 (byte 0x92), which is kept as it is. A full stop or comma
// between two digits stays in the word ("3.5", "1,000"). Apostrophes at the
// ends of a word are quotation marks and are dropped. Words are lower-cased
// unless case is kept, so "The" and "the" meet in one frame; the case is
// folded on the Unicode character, before it is written in the code page.
//
// Hyphens. Every other character splits words, the hyphen too: "so-called"
// is "so" and "called". When hyphens join, a hyphen with a letter of the code
// page right before and right after it stays in the word ("so-called",
// "mother-in-law"); at a word's start or end, doubled, at a line's end or
// next to a digit, an apostrophe, a blank or a character written as "?" it
// splits as before ("-so", "so-", "so--called", "a-1"). U+2010 HYPHEN and
// U+2011 NON-BREAKING HYPHEN, which none of the code pages has, are read as
// the hyphen-minus (and counted as characters without a form). A Greek sigma
// before a joining hyphen is written as the final sigma, as at a word's end.
//
// Sentences. N-grams never cross a sentence end: the bytes . ! ? ; and :,
// an empty line (a paragraph break) and the end of a file end a sentence. All
// other punctuation (commas, dashes, quotation marks, brackets) is dropped and
// does not break an n-gram; neither does a single line break.
//
// UTF-8. A file that starts with a UTF-8 byte-order mark, or whose first 64 KB
// hold multi-byte UTF-8 sequences and nothing that is not UTF-8, is read as
// UTF-8 and converted to the code page. When the first 64 KB are plain ASCII,
// the 64 KB from the first other byte on decide in the same way. A character
// with no form in the code page is counted; within a word it is written as
// "?", and the symbols and punctuation of U+2000-U+2BFF, U+3000-U+303F and
// U+1F000-U+1FAFF separate words like other punctuation. A byte that is not
// part of a valid sequence later in such a file is taken as a byte of the
// code page.
//
// UTF-16. A file that starts with a UTF-16 byte-order mark, little- or
// big-endian (as Windows editors save "Unicode" text), is read as UTF-16 and
// converted like UTF-8; a surrogate without its pair, or a last byte without
// its pair, counts as a character without a form in the code page. Without the mark its
// NUL bytes make it look binary.
#pragma once
#include "makeframes/core/codepage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

// How many bytes of a file's start decide whether it is text, and whether it
// is UTF-8.
const size_t textCheckBytes = 65536;

enum TextKind { textBinary, textEightBit, textUtf8, textAscii, textUtf16le, textUtf16be };

// The kind of a file from its first bytes (at most textCheckBytes of them):
// UTF-16 when they start with its byte-order mark, otherwise binary when they
// hold a NUL byte, ASCII when they are all below 0x80. atEnd says the bytes
// are the whole file, so a multi-byte sequence cut at the end is not UTF-8.
TextKind classifyText(const char* data, size_t size, bool atEnd);

// The code page 1252 byte of a Unicode character; -1 when it has none.
int cp1252Byte(uint32_t codePoint);

// Ids in the word stream beyond every word id.
const uint32_t sentenceEndId = 0xFFFFFFFFu;
const uint32_t fileStartId = 0xFFFFFFFEu;

// The corpus's words as ids, in reading order: each file starts with
// fileStartId, each sentence ends with sentenceEndId. Kept in memory up to a
// limit, then in a temporary file.
struct WordStream {
    std::vector<uint32_t> held;
    size_t memoryLimit = 0; // ids held in memory before the file is used
    std::filesystem::path spillName; // temporary file, used once memoryLimit is passed
    std::FILE* spill = nullptr;
    uint64_t spilledIds = 0;

    ~WordStream();
    void add(uint32_t id);
    // Ends writing; afterwards the stream is read with WordStreamReader.
    void finish();
    void release();
};

struct WordStreamReader {
    const WordStream& stream;
    std::FILE* file = nullptr;
    std::vector<uint32_t> buffer;
    size_t position = 0;
    uint64_t fileIdsLeft = 0;
    size_t heldPosition = 0;

    explicit WordStreamReader(const WordStream& stream);
    ~WordStreamReader();
    // The next id; false at the end.
    bool next(uint32_t& id);
};

// The corpus reader: splits text into words and sentences, gives words ids
// (in the order they are first seen) and appends them to the word stream.
struct CorpusReader {
    bool keepCase = false;
    bool joinHyphens = false; // a hyphen between letters stays in the word
    const CodePage* page = &codePage(1252); // the words' code page

    // Vocabulary: word i is words.substr(wordStarts[i], wordStarts[i+1] - ...).
    std::string words;
    std::vector<uint64_t> wordStarts{0};
    std::vector<uint64_t> table; // open addressing: hash << 32 | id + 1; 0 = free

    WordStream stream;

    uint64_t wordCount = 0;
    uint64_t sentenceCount = 0;
    uint64_t fileCount = 0;
    uint64_t unmappedCount = 0; // characters without a form in the code page
    // The words and sentences of each file, in reading order (the corpus's
    // counts at its start while it is read): the sizes of the files, for
    // the record of the corpus and the dispersion of frames over the files.
    std::vector<uint64_t> fileWords;
    std::vector<uint64_t> fileSentences;

    // State within the file being read.
    bool utf8 = false;
    bool undecided = false;      // all ASCII so far: UTF-8 or 8-bit is still open
    std::string undecidedBytes;  // from the first other byte, until they decide
    int utf16 = 0;               // 1 little-endian, 2 big-endian, 0 neither
    int pendingUnitByte = -1;    // first byte of a UTF-16 code unit
    uint32_t highSurrogate = 0;  // first half of a UTF-16 pair
    std::string word;
    char heldSeparator = 0;
    bool lineHasText = false;
    bool sentenceHasWords = false;
    uint32_t pendingCode = 0;    // UTF-8 character being decoded
    int pendingLength = 0;       // its bytes still to come
    std::string pendingBytes;    // its bytes so far

    void beginFile(TextKind kind);
    void addBytes(const char* data, size_t size);
    void endFile();

    size_t vocabularySize() const { return wordStarts.size() - 1; }
    std::string wordText(uint32_t id) const;
    // Bytes the vocabulary occupies, for the memory bound.
    size_t vocabularyBytes() const;

    // internal
    void decideKind(bool atEnd);
    void addUtf16Unit(uint32_t unit);
    void addByte(unsigned char c, bool replacement);
    void addCodePoint(uint32_t codePoint);
    void finishWord();
    void writeFinalSigma();
    void endSentence();
    uint32_t wordId(const std::string& text);
};
