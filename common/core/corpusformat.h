// The record of a makeframes run's corpus (prefix-Corpus.txt beside its
// phrase-frame files): which files were read, how many words and sentences
// each gave, the code page and the options of the run. makeframes writes it
// and the browser reads it, both through this definition.
//
// The text: lines ended by CR LF, fields separated by TABs, in this order:
//   makeframes corpus TAB 1                     what the file is, and the version of its layout
//   code page TAB 1252
//   option TAB name TAB value                   one line per option of the run
//   file TAB words TAB sentences TAB full path TAB name as given
//                                               one line per input read, in reading order
//   total TAB files TAB words TAB sentences     the file lines' count and sums
// Counts are decimal digits. Names are UTF-8, whatever the code page of the
// frames, so that every name a system has survives (on Windows, its wide
// names). A name cannot hold a TAB, CR or LF there: a system whose names may
// hold them has each written as "?". Standard input is "-" in both name
// fields.
#pragma once
#include "common/core/frameformat.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct CorpusInput {
    std::string fullPath;  // where the file was read from
    std::string givenName; // as the user named it, or as found in a folder named
    uint64_t words = 0;
    uint64_t sentences = 0;
};

struct CorpusOption {
    std::string name;
    std::string value;
};

struct CorpusRecord {
    int codePage = 1252;
    std::vector<CorpusOption> options; // in the order written
    std::vector<CorpusInput> inputs;   // in reading order
    uint64_t words = 0;                // over all inputs
    uint64_t sentences = 0;
};

// The record as its file's text.
std::string writeCorpusText(const CorpusRecord& record);

// Reads a whole file's text into `record`. Returns the empty text when it is
// whole and well-formed, else why it cannot be read (a clause for a message:
// that it was cut short, that another version wrote it, or what is wrong on
// which line).
std::string readCorpusText(std::string_view text, CorpusRecord& record);
