// Text lines of the stopword filter: the stopword list's line rule and the
// streaming line filter that drops lines whose key column is blank or holds
// a stopword.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

const char ctrlZ = 26; // ends the text of a file read as lines

// Splits text into lines by the reading rule of the stopword list: a line
// ends at CR, an LF right after that CR belongs to the line end, a lone LF
// stays inside the line, the last line needs no line end, and a Ctrl-Z byte
// ends the text (nothing after it is read).
std::vector<std::string> splitTextLines(std::string_view text);

// The entry a line of the stopword list gives: the text before its first
// '|', with blanks removed at both ends. Empty when the line gives none.
std::string stopwordEntry(std::string_view line);

// The lines of a stopword list: the reading rule above, except that a lone
// LF ends a line too (a word never holds an LF, so an entry with one could
// never match), and a UTF-8 byte-order mark at the very start is skipped.
std::vector<std::string> stopwordListLines(std::string_view listText);

// The non-empty entries of a stopword list, in file order, repeats included.
std::vector<std::string> stopwordEntries(std::string_view listText);

// Answers whether a word is a stopword.
typedef std::function<bool(std::string_view word)> StopwordTest;

// The key column of a line: the text before its first TAB, blanks removed at
// both ends.
std::string_view keyColumn(std::string_view line);

// True when the line's key column is empty or one of its words (the pieces
// between single blanks) is a stopword. Words are asked about left to right
// and the asking stops at the first stopword; empty words are never asked
// about, as no stopword is empty.
bool lineIsRemoved(std::string_view line, const StopwordTest& isStopword);

// The state of one file's filtering between chunks of its bytes.
//
// When filtering files a line ends at CR, CR LF or a lone LF, so files with
// LF line ends (as Linux tools write them) are filtered line by line too; an
// LF CR pair gives an empty line between, removed like any blank line. Every
// kept line is written exactly as read, followed by the line end it had, so
// CR LF stays CR LF, LF stays LF and a last line without one stays without.
// A UTF-8 byte-order mark at the very start of the file is kept as it is and
// is no part of the first line. A Ctrl-Z byte ends the lines: the line read
// so far (if any) is filtered like any other, and the Ctrl-Z and every byte
// after it are carried over unchanged after the kept lines, so no data is
// lost. A second pass over the result keeps it byte for byte.
struct LineFilter {
    std::string pendingLine;        // the start of a line cut by the end of a chunk
    bool atFileStart = true;        // no line has been ended yet
    bool lineEndedByCr = false;     // the previous byte was a CR ending a line
    bool crEndedLineKept = false;   // ...and that line was kept, so an LF after it is too
    bool textEnded = false;         // a Ctrl-Z was met: the rest is carried over
    int64_t linesRemoved = 0;
};

// Filters the next chunk of a file, appending kept lines (and carried-over
// bytes) to `kept`. Callers may drain `kept` between chunks.
void filterBytes(LineFilter& filter, const char* data, size_t size, const StopwordTest& isStopword,
                 std::string& kept);

// Ends the file: a last line without a line end is filtered too.
void finishFiltering(LineFilter& filter, const StopwordTest& isStopword, std::string& kept);

