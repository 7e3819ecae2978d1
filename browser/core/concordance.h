// Concordance lines: every occurrence of a frame's variants (or of one
// variant) in the corpus the frames were made from, keyword in context.
//
// The corpus is read again with makeframes' own reader (corpustext.h) and the
// options its Corpus file names, so words are found and folded exactly as
// they were counted: an n-gram within one sentence of one file whose words
// are the frame's and whose slot holds one of its variants' words. The number
// of occurrences is then the frequency the file shows, unless the corpus has
// changed since.
#pragma once
#include "common/core/corpusformat.h"
#include "common/core/corpustext.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Words of context shown on each side of an n-gram.
const int concordanceContextWords = 6;
// Lines a concordance keeps; occurrences beyond are only counted.
const size_t concordanceLineBound = 100000;

// What to look for: the frame's words (the slot's entry unused) and the
// words its slot may hold.
struct ConcordanceTarget {
    std::vector<std::string> words;
    size_t slot = 0;
    std::vector<std::string> slotWords;
    uint64_t frequency = 0; // as the frame file gives it
    bool isFrame = false;   // all variants of a frame, not one variant
};

// The target of a frame record (rank, TAB, header line, variant lines), or of
// the variant a line of the pane shows (its phrase one of the line's TAB-
// separated fields). False when the record holds no frame with one slot "*"
// and a variant of its length, or the line no variant of the record.
bool frameTarget(const std::string& record, ConcordanceTarget& target);
bool variantTarget(const std::string& record, const std::string& paneLine, ConcordanceTarget& target);

struct ConcordanceLine {
    std::string left;  // context words before the n-gram
    std::string ngram; // the slot's word in brackets
    std::string right; // context words after it
    std::string slotWord;
    size_t file = 0;     // index in the Corpus file's inputs
    uint64_t offset = 0; // the n-gram's first byte in the file
};

// One scan over the corpus's files. The reader sends each word here; lines
// wait in `pending` for their right context and then go to `lines`, which
// the caller may empty as it goes.
struct ConcordanceScan {
    CorpusReader reader;
    std::vector<uint32_t> frameIds; // the target's words as the reader's ids
    std::vector<uint32_t> slotIds;  // sorted
    size_t slot = 0;

    struct Word {
        uint32_t id;
        uint64_t start;
        uint64_t sentence;
    };
    std::deque<Word> recent; // the last words of the file, enough for a line
    uint64_t sentence = 0;
    size_t file = 0;
    struct Pending {
        ConcordanceLine line;
        int rightWords;
    };
    std::deque<Pending> pending;
    std::vector<ConcordanceLine> lines;
    uint64_t found = 0;       // occurrences, kept or not
    uint64_t kept = 0;        // lines made, at most concordanceLineBound
    uint64_t filesWithLines = 0;
    bool fileHasLines = false;

    // Reading only around the places a word of the target stands: most of a
    // corpus holds none, and a byte search passes over it many times faster
    // than the reader. Files are then not counted (scanConcordanceFile gives
    // concordanceWordsNotCounted).
    bool readAroundWords = false;
    // Words of the target whose bytes every occurrence holds as they are
    // (ASCII letters and digits, in either case unless case is kept), to
    // search for; empty when no word is safe and every byte is read.
    std::vector<std::string> searchWords;
    bool readFromMidFile = false; // the reader restarted after the file's start
    bool contextCut = false;      // a line found then lacked its left context
    uint64_t countFrom = 0;       // n-grams before this byte were counted already
    std::unique_ptr<char[]> fileBytes; // the file read around
    size_t fileRoom = 0;
    // The piece each file's reading starts with, kept from file to file: a
    // corpus of many small files would otherwise pay for a fresh megabyte,
    // its pages faulted in, per file (on Windows several times the scan).
    std::vector<char> piece;
};

// What scanConcordanceFile gives for a file read only around the target's words.
const int64_t concordanceWordsNotCounted = -2;

// The Corpus file beside a phrase-frame file ("x-Alpha-phraseFrames.txt" ->
// "x-Corpus.txt"); empty for a name without those endings.
std::wstring corpusFileFor(const std::wstring& frameFileName);

// Readies a scan of the corpus the record describes for the target. False
// when the record's code page is not one the reader knows.
bool startConcordance(ConcordanceScan& scan, const CorpusRecord& record, const ConcordanceTarget& target);

// Reads one corpus file through `read` (fills up to `size` bytes, returns how
// many; 0 at the end) as makeframes reads it, and returns the number of words
// it gave (concordanceWordsNotCounted when read only around the target's
// words); -1 when it is not text (makeframes skipped it). `cancelled` is
// asked between pieces; a cancelled file's lines so far stay.
int64_t scanConcordanceFile(ConcordanceScan& scan, size_t file, const std::function<size_t(char*, size_t)>& read,
                            const std::function<bool()>& cancelled);

enum ConcordanceOrder { bySlotWord, byLeftWord, byRightWord, byFile };

// Sorts by the slot's word, the first word to the left or to the right of the
// n-gram, or the file; then by file and place in it.
void sortConcordance(std::vector<ConcordanceLine>& lines, ConcordanceOrder order);

// The lines as TAB-separated text, one per line ended by CR LF: left context,
// n-gram, right context, file name as given.
std::string concordanceCopyText(const std::vector<ConcordanceLine>& lines, const CorpusRecord& record);

// What a finished scan found, against the file's frequency: "408 lines in 247
// files; the frame's frequency is 408", or that the corpus has changed since
// the frames were made (changedFiles files give other word counts than the
// Corpus file, or the count differs), or that only the first lines are kept.
std::string concordanceSummary(const ConcordanceScan& scan, const ConcordanceTarget& target, size_t changedFiles);
