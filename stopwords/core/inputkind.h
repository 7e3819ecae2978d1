// Files the filter must not rewrite although they can be read: text it
// cannot read word by word, and the browser's files, whose records its line
// rule would tear apart.
#pragma once
#include <string_view>

enum class InputKind {
    eightBitText,  // what the filter works on
    utf16Text,     // starts with a UTF-16 byte-order mark
    phraseFrames   // a phrase-frame file, by its name or its first record
};

// The kind of a file from its name and its first bytes; wholeFile tells
// whether those bytes are all the file has (otherwise their last line may be
// cut short and is not looked at).
InputKind inputKindOf(std::string_view name, std::string_view head, bool wholeFile);

// True when the name ends in "-phraseFrames.txt", in any case.
bool hasPhraseFrameName(std::string_view name);

// True when the text starts with a phrase-frame record: a header line of
// three TAB-separated fields (frame, frequency, variant count, both numbers
// in decimal), then as many variant lines of two fields (variant, frequency)
// as the count says, then an empty line or the end. An n-gram list, whose
// lines have two fields, never has that shape.
bool startsWithPhraseFrameRecord(std::string_view head, bool wholeFile);
