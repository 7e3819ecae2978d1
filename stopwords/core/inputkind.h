// Files the filter must not rewrite although they can be read: text it
// cannot read word by word, and the browser's files, whose records its line
// rule would tear apart.
#pragma once
#include <string_view>

enum class InputKind {
    eightBitText,  // what the filter works on
    utf16Text,     // starts with a UTF-16 byte-order mark
    phraseFrames   // a phrase-frame file, by its name or its first records
};

// The kind of a file from its name and its first bytes; wholeFile tells
// whether those bytes are all the file has (otherwise their last line may be
// cut short and is not looked at).
InputKind inputKindOf(std::string_view name, std::string_view head, bool wholeFile);

// True when the name ends in "-phraseFrames.txt", in any case.
bool hasPhraseFrameName(std::string_view name);

// True when the complete lines of the text start with two phrase-frame
// records, the first ended by an empty line. A record is a header line of
// three TAB-separated fields (frame, frequency, variant count, both numbers
// in decimal), then as many variant lines of two fields (variant, frequency)
// as the count says. Only those lines decide, so a file is judged the same
// whether the text is all of it or only its start; one record alone is not
// enough, as a list's first line of three fields (a totals row, a range
// column) followed by two-field lines can look like one.
bool startsWithPhraseFrameRecords(std::string_view head, bool wholeFile);
