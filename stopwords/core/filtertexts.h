// The texts the stopword filter shows: help, progress, summary and the
// layout of its status-code messages.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

const char programName[] = "CorvaleStopwords";

// The text of the help box: seven paragraphs joined by blank lines.
std::string helpText();

// " 412 stopwords read"
std::string stopwordsReadText(int64_t entriesRead);

// " 120000 stopwords read so far", while a long list loads.
std::string stopwordsReadSoFarText(int64_t entriesRead);

// "Starting file 2 of 5", a CR, then the name.
std::string startingFileText(int64_t fileNumber, int64_t fileCount, const std::string& name);

// "Error <decimal> [&H<8 hex digits>] " + the system's text, or without the
// blank and text when the system has none. Empty for status 0.
std::string statusMessage(uint32_t status, const std::string& systemText);

// Shown when the stopword list was found but could not be read; nothing has
// been changed at that point.
std::string stopwordListErrorText(const std::string& path, const std::string& reason);

// Shown when the stopword list is UTF-16 text, whose words the program
// cannot read; nothing has been changed at that point.
std::string stopwordListInUtf16Text(const std::string& path);

// Shown when writing a file's kept lines back failed part way.
std::string overwriteFailedText(const std::string& name, const std::string& tempName);

// Why a named file was not filtered.
enum class SkipReason {
    none,
    notFound,          // missing, a folder, or a name the system refuses
    locked,            // held open by another program
    readOnly,
    cannotOpen,        // refused for another reason (permissions)
    folderNotWritable, // "stops.tmp" cannot be created in the current folder
    tooLarge,          // its kept text cannot be held in memory
    readFailed,
    temporaryNotWritten, // writing "stops.tmp" failed; the file is as it was
    stopwordList,
    program,
    unhandledName,
    utf16Text,
    phraseFrameFile,
    overwriteFailed, // the kept lines are in "stops.tmp"
    notTried         // the run stopped before this file
};

// A few words a user can act on.
std::string skipReasonText(SkipReason reason);

struct SkippedFile {
    std::string name;
    SkipReason reason = SkipReason::none;
};

// The most names the skipped-files box lists; the rest are counted.
const size_t skippedNamesShown = 20;

// One line per skipped name with its reason, then "and N more" for those
// beyond the first skippedNamesShown.
std::string skippedFilesText(const std::vector<SkippedFile>& skipped);

// The skipped names counted by what the user can make of them.
struct SkipCounts {
    int64_t unreadable = 0;      // could not be read or rewritten
    int64_t notForFiltering = 0; // UTF-16 text, phrase frames, the list, the program
    int64_t notTried = 0;        // the run stopped before them
};

SkipCounts countSkipped(const std::vector<SkippedFile>& skipped);

// The three summary lines, then one line for each kind of skipped name
// there is.
std::string summaryText(int64_t filesFiltered, int64_t linesRemoved, const SkipCounts& skipped);

// The kept text is written under this name beside the temporary file and
// renamed to it once it is complete, so a temporary file that exists is
// never a part.
std::string partialTemporaryName(const std::string& tempName);

// The small file beside the temporary file that names the file whose kept
// lines it holds, and the note's text: that file's full name and the kept
// text's size in bytes, each on a line.
std::string temporarySourceNoteName(const std::string& tempName);
std::string temporarySourceNote(const std::string& fullName, uint64_t keptSize);

// The file a note names, when the note is for a temporary file of that size;
// empty otherwise (a note left by a run killed while it cleaned up).
std::string fileNamedByNote(const std::string& note, uint64_t temporarySize);

// Shown when "stops.tmp" is already in the current folder. belongsTo is the
// file its note names, empty when none can be known; rewriteComplete tells
// whether that file holds exactly the bytes of stops.tmp (its rewrite ended,
// but stops.tmp was not deleted); atStart tells whether any file was
// filtered before.
std::string temporaryInTheWayText(const std::string& fullPath, const std::string& belongsTo, bool rewriteComplete,
                                  bool atStart);

// Shown when "stops.tmp.partial" could not be made, or not renamed, because
// it is held open (by another program, or an earlier version of the filter).
// firstFile tells whether no file was filtered before.
std::string partialTemporaryInUseText(const std::string& fullPath, bool firstFile);

// Shown when "stops.tmp-source.txt" is held open by another run in the
// current folder, which holds it while it writes a file back through
// "stops.tmp". firstFile tells whether no file was filtered before.
std::string temporaryNoteInUseText(const std::string& fullPath, bool firstFile);

// Shown when a file was filtered but "stops.tmp" could not be deleted
// afterwards; the run stops there.
std::string temporaryNotDeletedText(const std::string& fullPath, const std::string& name, const std::string& reason);
