// The phrase-frame file as the browser holds it in memory: splitting the
// file's bytes into frame records, and reading the fields of one record.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Splits the whole file content into frame records. Records are separated by
// an empty line (CR LF CR LF, taken from the left without overlap); the last
// piece is dropped when it holds nothing but blanks, CRs, LFs and TABs.
// records gets recordCount + 1 elements: element 0 stays empty, element i is
// decimal(i) + TAB + the record text trimmed of those bytes at both ends.
// variantTotal is the number of variant lines in the records: the lines after
// each record's header line, whatever line ends the file has at its end.
// The previous contents of records are released before the new ones are built.
void buildFrameRecords(const std::string& content, std::vector<std::string>& records,
                       int32_t& recordCount, int32_t& variantTotal);

// Whether the records look like a phrase-frame file's: some record's header
// line (its text before the first CR LF, after the rank) holds a phrase
// frame, TAB, frequency, TAB, variant count and no other TAB, with no lone LF
// in it. No records (an empty file) is not judged. A text with other line
// ends, or without TABs, loads as one or a few records that hold no such
// line; a table with more columns (makeframes' statistics) has no blank line
// and so one record, whose header line is the table's header row.
bool looksLikePhraseFrames(const std::vector<std::string>& records, int32_t recordCount);

// The box shown when a loaded file does not: its name, what is missing, and
// that it is shown anyway.
std::string notPhraseFramesText(const std::string& fileName);

// The name part of a full file name: the text after its last backslash.
std::string shortFileName(const std::string& fileName);

// The two-line summary shown above the list after a load (lines separated by
// a single CR).
std::string statusText(int32_t recordCount, int32_t variantTotal, const std::string& fileName);

// Field n (from 1) of the TAB-separated record, as pointer and length into the
// record; a field beyond the last is empty. The last field of the header line
// runs on into the variant lines, as a TAB split of the whole record gives it.
struct FieldSpan {
    const char* text;
    size_t length;
};
FieldSpan recordField(const std::string& record, int n);

// Text of list cell column 1..4 of a record, written into cell with its
// terminating NUL: the column's TAB-separated field of the whole record as it
// stands (empty beyond the last), the Variants column cut before its first
// CR, at most cellTextSize - 1 bytes, each NUL byte as a blank (see
// blankNuls). The list asks for cells while it paints, which must not need
// memory: hence the caller's fixed buffer.
constexpr size_t cellTextSize = 100;
void writeCellText(const std::string& record, int column, char (&cell)[cellTextSize]);

// Field n (from 1) of the record's header line (the text before its first
// CR LF); empty beyond the last.
std::string headerField(const std::string& record, int n);

// The summary label of a frame: "frame:  rank r, frequency f, variants v",
// with the header fields as the file spells them (each cut to its first
// labelFieldBound bytes), then note; each NUL as a blank (see blankNuls).
std::string frameLabel(const std::string& record, const std::string& note);

// frameLabel with the note of excerptNote for the variant lines in the
// file's order.
std::string frameSummary(const std::string& record);

// All of the record's variant lines: everything after its first CR LF; empty
// when there is none.
std::string_view wholeVariantLines(const std::string& record);

// The record's variant lines, in the file's order, as the pane is handed
// them (see paneExcerpt); NUL bytes are kept.
std::string variantLines(const std::string& record);

// Reads the leading number of a field as a sort key: blanks, TABs and LFs are
// skipped, then an optional sign, decimal digits and an optional decimal
// fraction; the first other byte ends the number, and no number gives 0.
// The value is rounded to the nearest integer, halves to even ("2.5" -> 2,
// "3.5" -> 4). Exponents and radix prefixes are not read ("1e5" -> 1,
// "&H10" -> 0). Values beyond the signed 32-bit range give INT32_MAX or
// INT32_MIN, so they still sort beyond every value within it.
int32_t numberKey(const char* text, size_t length);
