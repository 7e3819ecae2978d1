// The files a makeframes run writes and the browser reads: their names and
// the phrase-frame record, defined here only. The Stats table's columns are
// in statsformat.h, the Corpus record's lines in corpusformat.h.
//
// A phrase-frame file: records separated by an empty line, lines ended by
// CR LF; a record is its header line (frame TAB frequency TAB variant count)
// and one line per variant (phrase TAB frequency).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Every file of a run is named by the run's output prefix, then, for a run
// of a range of lengths, "-" and the length, then one of these endings.
inline constexpr char alphaFileEnding[] = "-Alpha-phraseFrames.txt";
inline constexpr char freqFileEnding[] = "-Freq-phraseFrames.txt";
inline constexpr char ngramsFileEnding[] = "-Ngrams.txt";
inline constexpr char statsFileEnding[] = "-Stats.txt";
inline constexpr char corpusFileEnding[] = "-Corpus.txt";

// What follows the prefix in the name of one length's file: the length part
// only when the run makes a range of lengths.
std::string lengthFileEnding(const char* ending, int length, bool rangeOfLengths);

// Lines end with CR LF; the fields of a line are separated by TABs; an empty
// line separates two records.
inline constexpr char frameLineEnd[] = "\r\n";
inline constexpr char frameFieldSeparator = '\t';
inline constexpr char frameRecordSeparator[] = "\r\n\r\n";

// The frame's own fields, as its record's header line and its Stats row
// begin: frame TAB frequency TAB variants.
void appendFrameFields(std::string& out, std::string_view frameText, uint64_t frequency, uint64_t variants);

// A header line's fields as views into it: the first three TAB-separated
// fields (empty where the line has fewer). True when it has exactly three.
struct FrameFields {
    std::string_view frame;
    std::string_view frequency;
    std::string_view variants;
};
bool readFrameFields(std::string_view headerLine, FrameFields& fields);
