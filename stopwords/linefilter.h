// Filtering one named file in place through a temporary file.
#pragma once
#include "stopwords/textlines.h"

#include <cstdint>
#include <string>

enum class FileOutcome {
    filtered,       // the file now holds its kept lines
    skipped,        // the file could not be read or rewritten and is as it was
    overwriteFailed // writing the kept lines back failed part way; the
                    // temporary file still holds them in full
};

struct FileFilterResult {
    FileOutcome outcome = FileOutcome::skipped;
    int64_t linesRemoved = 0; // counts only when the file was filtered
};

// Streams the named file through the line filter into the temporary file,
// flushes that to disk, reads it back in one piece and writes it over the
// named file, which keeps its identity and attributes; then deletes the
// temporary file. The named file is held open, exclusively and for writing,
// from the first read to the last write, so a read-only, missing or locked
// file is skipped before anything is written.
FileFilterResult filterFileInPlace(const std::string& name, const std::string& tempName,
                                   const StopwordTest& isStopword);
