#include "stopwords/core/filtertexts.h"

#include "common/core/text.h"

#include "common/core/homepage.h"
#include "common/core/numbertext.h"
#include "stopwords/core/tailsplit.h"

#include <cstdio>

std::string helpText()
{
    const std::string name = programName;
    const std::string paragraphs[] = {
        name + " removes lines containing stopwords from a plain text file. Blank lines, leading and "
               "following blanks, and comments following | are ignored.",
        "Make a plain text file with one stopword per line.\r\nName it 'stopwords' (no extension!) and "
        "put it in the same directory as " + name + ".exe. ",
        "From Windows Explorer, drag and drop the files to filter onto " + name + "'s icon.",
        name + " can also be run from the command line with a list of filenames. Separate multiple "
               "filenames with spaces. Wildcards * and ? are supported. ",
        "Your original files will be overwritten, so back them up first.",
        "\rFor further details, refer to the Corvale help file.",
        "Home:  " CORVALE_HOME_PAGE,
    };
    std::string text;
    for (const std::string& paragraph : paragraphs) {
        if (!text.empty())
            text += "\r\n\r\n";
        text += paragraph;
    }
    return text;
}

std::string stopwordsReadText(int64_t entriesRead)
{
    return strNumber(entriesRead) + " stopwords read";
}

std::string stopwordsReadSoFarText(int64_t entriesRead)
{
    return stopwordsReadText(entriesRead) + " so far";
}

std::string startingFileText(int64_t fileNumber, int64_t fileCount, const std::string& name)
{
    return "Starting file" + strNumber(fileNumber) + " of" + strNumber(fileCount) + "\r" + name;
}

std::string statusMessage(uint32_t status, const std::string& systemText)
{
    if (status == 0)
        return std::string();
    char code[40];
    std::snprintf(code, sizeof code, "Error %lu [&H%08lX]", static_cast<unsigned long>(status),
                  static_cast<unsigned long>(status));
    return systemText.empty() ? std::string(code) : code + (" " + systemText);
}

std::string stopwordListErrorText(const std::string& path, const std::string& reason)
{
    std::string text = "The stopword list could not be read:\r\n" + path;
    if (!reason.empty())
        text += "\r\n" + reason;
    return text + "\r\n\r\nNo file was changed.";
}

std::string stopwordListInUtf16Text(const std::string& path)
{
    return "The stopword list " + path + " is in UTF-16. Save it as UTF-8 or ANSI text and run the filter again.";
}

std::string overwriteFailedText(const std::string& name, const std::string& tempName)
{
    return "The filtered lines could not be written back to\r\n" + name + "\r\nThey are kept in full in " +
           tempName + ". No further file was filtered.";
}

std::string skipReasonText(SkipReason reason)
{
    switch (reason) {
    case SkipReason::none:
        break;
    case SkipReason::notFound:
        return "not found or not a file";
    case SkipReason::locked:
        return "locked by another program";
    case SkipReason::readOnly:
        return "read-only";
    case SkipReason::cannotOpen:
        return "access refused";
    case SkipReason::folderNotWritable:
        return "current folder not writable";
    case SkipReason::tooLarge:
        return "too large for memory";
    case SkipReason::readFailed:
        return "could not be read";
    case SkipReason::temporaryNotWritten:
        return "stops.tmp could not be written (disk full?)";
    case SkipReason::stopwordList:
        return "the stopword list itself";
    case SkipReason::program:
        return "the program itself";
    case SkipReason::unhandledName:
        return "name has characters the program cannot handle";
    case SkipReason::utf16Text:
        return "UTF-16 text (this program reads 8-bit text)";
    case SkipReason::phraseFrameFile:
        return "a phrase-frame file (this program filters n-gram lists)";
    case SkipReason::overwriteFailed:
        return "could not be written back - kept lines are in stops.tmp";
    case SkipReason::notTried:
        return "not tried - the run stopped before it";
    }
    return std::string();
}

std::string skippedFilesText(const std::vector<SkippedFile>& skipped)
{
    std::string text = "These files were skipped:\r\n";
    for (size_t i = 0; i < skipped.size() && i < skippedNamesShown; ++i)
        text += "\r\n" + displayName(skipped[i].name) + ": " + skipReasonText(skipped[i].reason);
    if (skipped.size() > skippedNamesShown)
        text += "\r\nand " + std::to_string(skipped.size() - skippedNamesShown) + " more";
    return text;
}

namespace {

// The summary line a skipped name is counted on.
int64_t& countFor(SkipReason reason, SkipCounts& counts)
{
    switch (reason) {
    case SkipReason::utf16Text:
    case SkipReason::phraseFrameFile:
    case SkipReason::stopwordList:
    case SkipReason::program:
        return counts.notForFiltering;
    case SkipReason::notTried:
        return counts.notTried;
    case SkipReason::none:
    case SkipReason::notFound:
    case SkipReason::locked:
    case SkipReason::readOnly:
    case SkipReason::cannotOpen:
    case SkipReason::folderNotWritable:
    case SkipReason::tooLarge:
    case SkipReason::readFailed:
    case SkipReason::temporaryNotWritten:
    case SkipReason::unhandledName:
    case SkipReason::overwriteFailed:
        break;
    }
    return counts.unreadable;
}

} // namespace

SkipCounts countSkipped(const std::vector<SkippedFile>& skipped)
{
    SkipCounts counts;
    for (const SkippedFile& file : skipped)
        ++countFor(file.reason, counts);
    return counts;
}

std::string summaryText(int64_t filesFiltered, int64_t linesRemoved, const SkipCounts& skipped)
{
    std::string text = "Processing complete.\r\n" + std::to_string(filesFiltered) + " file(s) filtered.\r\n" +
                       formatThousands(linesRemoved) + " lines removed.";
    if (skipped.unreadable > 0)
        text += "\r\n" + std::to_string(skipped.unreadable) + " file(s) skipped (could not be read or rewritten).";
    if (skipped.notForFiltering > 0)
        text += "\r\n" + std::to_string(skipped.notForFiltering) +
                " file(s) skipped (not files this program filters).";
    if (skipped.notTried > 0)
        text += "\r\n" + std::to_string(skipped.notTried) + " file(s) not tried (the run stopped before them).";
    return text;
}

std::string partialTemporaryName(const std::string& tempName)
{
    return tempName + ".partial";
}

std::string temporarySourceNoteName(const std::string& tempName)
{
    return tempName + "-source.txt";
}

std::string temporarySourceNote(const std::string& fullName, uint64_t keptSize)
{
    return fullName + "\r\n" + std::to_string(keptSize) + "\r\n";
}

std::string fileNamedByNote(const std::string& note, uint64_t temporarySize)
{
    // The name and the size, each on a line of its own.
    const std::vector<std::string_view> lines = splitCrLfLines(note);
    if (lines.size() < 3 || lines[0].empty() || lines[1] != std::to_string(temporarySize))
        return std::string();
    return std::string(lines[0]);
}

std::string temporaryInTheWayText(const std::string& fullPath, const std::string& belongsTo, bool rewriteComplete,
                                  bool atStart)
{
    std::string text = "stops.tmp is already in the current folder:\r\n" + fullPath + "\r\n\r\n";
    const std::string changed = atStart ? "No file was changed." : "No further file was changed.";
    if (!belongsTo.empty() && rewriteComplete)
        return text + "It holds all the kept lines of\r\n" + belongsTo +
               "\r\nand that file already holds exactly those lines: its rewrite was complete, and stops.tmp is "
               "no longer needed. " +
               changed + "\r\nDelete stops.tmp and stops.tmp-source.txt, then run the filter again.";
    if (!belongsTo.empty())
        text += "It holds all the kept lines of\r\n" + belongsTo +
                "\r\nfrom a run that was interrupted, or from one still writing them back (that run deletes "
                "stops.tmp when it ends). After an interrupted run that file may be only partly rewritten: copy "
                "stops.tmp over it (this is safe however far the run got, unless you changed the file since), "
                "then delete stops.tmp and stops.tmp-source.txt. ";
    else
        text += "It may be someone's file, or the kept lines of an interrupted run (a stops.tmp this program "
                "leaves is always complete; its stops.tmp-source.txt, if there, names the file it belongs "
                "to). ";
    return text + changed + "\r\nLook into it and move it away, then run the filter again.";
}

std::string partialTemporaryInUseText(const std::string& fullPath, bool firstFile)
{
    return "stops.tmp.partial is in use in the current folder:\r\n" + fullPath +
           "\r\n\r\nAnother run of the filter is probably writing the kept lines of its file there now (or "
           "another program, a virus scanner say, holds it open). A stops.tmp.partial is never complete: no "
           "line is kept only there, and it may be deleted once no run is writing it. " +
           (firstFile ? "No file was changed." : "No further file was changed.") +
           "\r\nLet the other run end, then run the filter again.";
}

std::string temporaryNoteInUseText(const std::string& fullPath, bool firstFile)
{
    return "stops.tmp-source.txt is in use in the current folder:\r\n" + fullPath +
           "\r\n\r\nAnother run of the filter holds it while it keeps a copy of the kept lines of its file in "
           "stops.tmp and writes them back. " +
           (firstFile ? "No file was changed." : "No further file was changed.") +
           "\r\nLet the other run end, then run the filter again.";
}

std::string temporaryNotDeletedText(const std::string& fullPath, const std::string& name, const std::string& reason)
{
    return name + " was filtered, but this run could not delete its copy of the kept lines:\r\n" + fullPath +
           "\r\n" + reason +
           "\r\n\r\nAnother program probably holds it open. No further file was changed. Delete stops.tmp "
           "and stops.tmp-source.txt when that program lets go of them, then run the filter again.";
}
