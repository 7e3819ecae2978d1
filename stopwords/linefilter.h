// Filtering one named file in place through a temporary file.
#pragma once
#include <windows.h>

#include "stopwords/core/filtertexts.h"
#include "stopwords/core/textencoding.h"
#include "stopwords/core/textlines.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Answers whether a word, written in the encoding of the file it comes
// from, is a stopword.
typedef std::function<bool(std::string_view word, TextEncoding encoding)> EncodedStopwordTest;

enum class FileOutcome {
    filtered,        // the file now holds its kept lines
    skipped,         // the file is as it was; reason says why
    overwriteFailed, // writing the kept lines back failed part way; the
                     // temporary file still holds them in full
    temporaryInTheWay, // the temporary file was already there: nothing was
                       // done, and it was left as it was
    temporaryNotDeleted, // the file now holds its kept lines, but the
                         // temporary file could not be deleted (held open)
    partialInUse,    // the name the kept text is first written under is held
                     // open by another program, before or after this run
                     // wrote it: nothing was done
    noteInUse        // another run in this folder holds the note of its own
                     // temporary file: nothing was done
};

struct FileFilterResult {
    FileOutcome outcome = FileOutcome::skipped;
    SkipReason reason = SkipReason::none;
    int64_t linesRemoved = 0; // counts when the file holds its kept lines
    DWORD deleteError = 0;    // why the temporary file could not be deleted
};

// Which file a name leads to, whatever the name: the volume's serial number
// and the file's index on it, and, since some file systems give every volume
// the serial 0 (Wine on tmpfs) so that files on two of them can share an
// index, the file's size and times as well.
struct FileIdentity {
    DWORD volumeSerial = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    DWORD sizeHigh = 0;
    DWORD sizeLow = 0;
    FILETIME created = {};
    FILETIME lastWritten = {};
};

bool sameFile(const FileIdentity& a, const FileIdentity& b);

// The name made absolute against the current folder, as the user is shown it.
std::string fullPathOf(const std::string& name);

// The identity of the file a name leads to; false when there is none.
bool fileIdentityOf(const std::string& name, FileIdentity* identity);
bool fileIdentityOfWide(const wchar_t* name, FileIdentity* identity);

// A file that is never filtered, and the reason given for skipping it.
struct ProtectedFile {
    FileIdentity identity;
    SkipReason reason = SkipReason::none;
};

// Filters the named file into memory (a file larger than the memory free,
// or whose kept text outgrows it, is found out before anything is written;
// UTF-16 text and phrase-frame files are skipped; the words of a file that
// starts with the UTF-8 mark are asked about as UTF-8), takes the note of
// temporarySourceNoteName, held open until the temporary file is gone, then
// puts the temporary file, which must not exist yet, on disk complete
// (written and flushed under partialTemporaryName, then renamed, with the
// note naming the file it belongs to), writes the kept text over the named
// file, which keeps its identity and attributes, flushes that, and only then
// deletes the temporary file and its note. The named file is held
// open, exclusively and for writing, from the first read to the last write,
// so a read-only, missing or locked file is skipped before anything is
// written; so is one of the protected files.
FileFilterResult filterFileInPlace(const std::string& name, const std::string& tempName,
                                   const EncodedStopwordTest& isStopword,
                                   const std::vector<ProtectedFile>& protectedFiles = {});
