// Reading a corpus for makeframes: what kind of text a file holds, its words
// and sentences, and the corpus as a stream of integer word ids.
//
// Code page. The words are written in one Windows code page (codepage.h,
// 1252 unless the reader is told another). 8-bit text is taken to be in that
// code page; UTF-8 and UTF-16 text is converted to it. With UTF-8 words the
// words keep every character in UTF-8 instead; the code page then only reads
// 8-bit text and decides the Turkish case rule. Letters and case are decided
// on the Unicode character either way, so only the bytes of a word differ.
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
// Long words. A word longer than maxWordBytes is cut to its first bytes that
// fit (whole characters) and counted: no word of a language is that long, and
// a file of one endless "word" would otherwise be held whole, twice. The cut
// word keeps its place in its sentence; the apostrophes at its cut end stay.
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
#include "common/core/codepage.h"

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

// The most bytes of a word (see Long words above).
const size_t maxWordBytes = 1000;

// Letters are below this code point (codepage.h).
const uint32_t letterEnd = 0x530;

// The code page 1252 byte of a Unicode character; -1 when it has none.
int cp1252Byte(uint32_t codePoint);

// Ids in the word stream beyond every word id.
const uint32_t sentenceEndId = 0xFFFFFFFFu;
const uint32_t fileStartId = 0xFFFFFFFEu;

// The corpus reader: splits text into words and sentences, gives words ids
// (in the order they are first seen) and sends them on in reading order.
struct CorpusReader {
    bool keepCase = false;
    bool joinHyphens = false; // a hyphen between letters stays in the word
    const CodePage* page = &codePage(1252); // the words' code page
    bool utf8Words = false; // words in UTF-8, every character kept (see above)

    // Vocabulary: word i is words.substr(wordStarts[i], wordStarts[i+1] - ...).
    std::string words;
    std::vector<uint64_t> wordStarts{0};
    std::vector<uint64_t> table; // open addressing: hash << 32 | id + 1; 0 = free

    // Where the ids go (makeframes' word stream, the browser's concordance):
    // each file's start as fileStartId, each word's id, each sentence's end
    // as sentenceEndId. For a word, `start` and `end` are its bytes in the
    // file as given to addBytes (end one past its last byte; apostrophes
    // dropped from its ends count in); 0 for the other ids. A plain call,
    // once per id, so reading a large corpus stays fast.
    void (*sendId)(void* target, uint32_t id, uint64_t start, uint64_t end) = nullptr;
    void* idTarget = nullptr;

    uint64_t wordCount = 0;
    uint64_t sentenceCount = 0;
    uint64_t fileCount = 0;
    uint64_t unmappedCount = 0; // characters without a form in the code page
    uint64_t cutWordCount = 0;  // words longer than maxWordBytes, cut
    // The words and sentences of each file, in reading order (the corpus's
    // counts at its start while it is read): the sizes of the files, for
    // the record of the corpus and the dispersion of frames over the files.
    std::vector<uint64_t> fileWords;
    std::vector<uint64_t> fileSentences;
    // Letters beyond ASCII read as characters (UTF-8 and UTF-16 text), by
    // code point as the word holds them (lower-cased unless case is kept):
    // what tells which code page keeps them all (lostletters.h).
    std::vector<uint64_t> lettersRead = std::vector<uint64_t>(letterEnd, 0);

    // State within the file being read.
    bool utf8 = false;
    bool undecided = false;      // all ASCII so far: UTF-8 or 8-bit is still open
    std::string undecidedBytes;  // from the first other byte, until they decide
    int utf16 = 0;               // 1 little-endian, 2 big-endian, 0 neither
    int pendingUnitByte = -1;    // first byte of a UTF-16 code unit
    uint32_t highSurrogate = 0;  // first half of a UTF-16 pair
    std::string word;
    bool wordCut = false;            // the word read is longer than it holds
    uint32_t wordLastCharacter = 0;  // its last character read, held or cut
    char heldSeparator = 0;
    bool lineHasText = false;
    bool sentenceHasWords = false;
    uint32_t pendingCode = 0;    // UTF-8 character being decoded
    int pendingLength = 0;       // its bytes still to come
    std::string pendingBytes;    // its bytes so far
    // Places in the file's bytes: the next byte given, the character being
    // added, the word being read, the first undecided byte, the current
    // UTF-8 sequence or UTF-16 unit.
    uint64_t inputOffset = 0;
    uint64_t characterStart = 0;
    uint64_t characterEnd = 0;
    uint64_t wordStart = 0;
    uint64_t wordEnd = 0;
    uint64_t undecidedStart = 0;
    uint64_t sequenceStart = 0;

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
    void addWordCharacter(uint32_t codePoint);
    void appendToWord(const char* bytes, size_t size, uint32_t character);
    void placeHeldSeparator(uint32_t next);
    uint32_t characterBefore(size_t end) const;
    void finishWord();
    void writeFinalSigma();
    void endSentence();
    void send(uint32_t id, uint64_t start, uint64_t end)
    {
        if (sendId != nullptr)
            sendId(idTarget, id, start, end);
    }
    uint32_t wordId(const std::string& text);
};
