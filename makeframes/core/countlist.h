// Reading n-gram count lists, so that frames can be made from a corpus
// counted elsewhere (in shards, on other machines) as from its text.
//
// A count list is what makeframes -ngrams writes: a line per n-gram, its
// words separated by single spaces, TAB, its count (a whole number from 1 to
// 4294967295), CR LF; a LF alone ends a line too, and the last line may have
// no end. The words are taken byte for byte, as written in the output's code
// page: they are not folded or converted again. An n-gram listed more than
// once, in one list or in several, counts the sum of its counts.
#pragma once
#include "common/core/corpustext.h"
#include "makeframes/core/wordstream.h"

#include <cstdint>
#include <string>
#include <vector>

// The bad lines of the lists read, each as "name:line: what is wrong".
struct BadCountLines {
    std::vector<std::string> shown; // the first few
    uint64_t count = 0;
    static constexpr size_t shownAtMost = 20;
};

// Reads one count list of n-grams of `length` words into the corpus: their
// words into its vocabulary, and each n-gram into its word stream as its
// `length` word ids followed by its count. A bad line is added to `bad` and
// left out.
struct CountListReader {
    CorpusReader& corpus; // the words' vocabulary
    WordStream& words;
    int length;
    std::string name;   // the list's name in the bad lines
    BadCountLines& bad;
    uint64_t lines = 0;
    uint64_t ngrams = 0; // the sum of the counts read
    std::string unended; // a line that the piece read so far cuts
    std::vector<uint32_t> ids;

    void addBytes(const char* data, size_t size);
    // The end of the list: its last line, when it has no line end.
    void end();
    void addLine(const char* begin, const char* end);
};
