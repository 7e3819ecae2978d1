// Counting phrase frames and writing the two phrase-frame files the browser
// reads, within a memory bound.
//
// Every n-gram of N words gives N frames, one for each position, with that
// position written as "*". A frame's variants are the distinct words seen in
// its slot; the variant phrase is the n-gram with the word in place. A frame
// is kept when it occurs at least minFrequency times, has at least
// minVariants distinct variants and occurs in at least minRange input files;
// with innerSlotsOnly, frames whose slot is the first or last word are left
// out.
//
// The files: records separated by an empty line, lines ended by CR LF; a
// record is the header line (frame TAB frequency TAB variant count) and one
// line per variant (phrase TAB frequency). The Alpha file has the records by
// frame bytes and the variants by phrase bytes; the Freq file has the records
// by falling frequency and the variants by falling frequency, ties by bytes.
//
// The n-gram list (when asked for): one line per n-gram that occurs at least
// minFrequency times, the n-gram TAB its frequency, CR LF, by falling
// frequency, ties by bytes; the text before the TAB is the key the stopword
// filter reads.
//
// The statistics (when asked for): tab-separated, CR LF, a header row, then a
// row per kept frame in the Freq file's order: the frame; its frequency; its
// number of variants; variants per occurrence (variants / frequency, the
// type-token ratio of the slot); the top variant (the most frequent, the first
// in byte order among equals); its share of the frame's frequency; the
// entropy of the slot fillers in bits (-sum p log2 p over the variants'
// shares); the range (the input files the frame occurs in); DP, the
// dispersion over the input files (deviationOfProportions below); the
// frequency per million words of the corpus. Fractions have four decimals after a full
// stop, whatever the locale, halves rounded to even.
//
// Memory. Words are integer ids ranked in byte order, so sorting ids sorts
// the texts. The n-gram counts, the n-grams sorted for each slot and the
// frequency order are sorted in memory up to the bound and otherwise spilled
// as sorted runs into the scratch folder and merged from there.
#pragma once
#include "makeframes/core/corpustext.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// Word ranks in byte order: rankOf[id] is from 1 (rank 0 is the slot, which
// sorts before every word), textOf[rank] the word's bytes.
struct RankedWords {
    std::vector<uint32_t> rankOf;
    std::vector<std::string> textOf;
};
RankedWords rankWords(const CorpusReader& corpus);

struct FrameSettings {
    int length = 4;
    uint64_t minFrequency = 2;
    uint64_t minVariants = 2;
    uint64_t minRange = 1;
    bool innerSlotsOnly = false;
    // The bytes this build may hold, the corpus and ranked words it reads
    // counted in; builds at once must share the bound between them.
    uint64_t memoryBytes = uint64_t(1) << 30;
    std::filesystem::path scratchFolder; // sorted runs go here, under names of their own
    // Called now and then with the phase's name and how much of it is done.
    std::function<void(const char* phase, double fraction)> progress;
    // Called every million or so steps of long work in memory (sorts and
    // passes over all n-grams), where there is no progress to tell; it may
    // throw to stop the build.
    std::function<void()> poll;
};

struct FrameCounts {
    uint64_t ngrams = 0;
    uint64_t ngramLines = 0; // lines of the n-gram list
    uint64_t frames = 0;   // frames kept
    uint64_t variants = 0; // their variant lines
    bool spilled = false;  // the bound was reached and runs were merged from disk
};

// The files of one length; an empty name: that file is not wanted.
struct FrameFileNames {
    std::filesystem::path alpha;
    std::filesystem::path freq;
    std::filesystem::path ngrams;
    std::filesystem::path stats;
};

// Counts the frames of one length and writes the files under the given
// names. Throws std::runtime_error when a file cannot be written or read.
FrameCounts writeFrameFiles(const CorpusReader& corpus, const RankedWords& ranked, const FrameSettings& settings,
                            const FrameFileNames& names);
// Only the two phrase-frame files.
FrameCounts writeFrameFiles(const CorpusReader& corpus, const RankedWords& ranked, const FrameSettings& settings,
                            const std::filesystem::path& alphaName, const std::filesystem::path& freqName);

const int maxFrameLength = 10;

// The input files' sizes in words, for the dispersion of frames over them.
struct FileSizes {
    std::vector<uint64_t> words; // of file k + 1, in reading order
    uint64_t total = 0;
    double smallestShare = 0;    // the smallest file's words / total
};
FileSizes fileSizes(const std::vector<uint64_t>& fileWords);

// Gries' deviation of proportions of a frame over the input files, with the
// files' words as their sizes: DP = 0.5 * the sum over the files of
// |the file's share of the frame's occurrences - its share of the words|,
// normalised as DP / (1 - the smallest file's share of the words). 0 is a
// frame spread as the files' sizes are; 1 one all in the smallest file. A
// corpus of one file gives 0 (the divisor would be 0: nothing can be uneven
// over one file). `occurrences` lists the files the frame occurs in, each
// once, as (file from 1 in reading order, occurrences there).
double deviationOfProportions(const std::vector<std::pair<uint32_t, uint64_t>>& occurrences, const FileSizes& files);
