#include "makeframes/core/run.h"

#include "common/core/corpusformat.h"
#include "common/core/frameformat.h"
#include "common/core/numbertext.h"
#include "common/core/corpustext.h"
#include "makeframes/core/countlist.h"
#include "makeframes/core/externalsort.h"
#include "makeframes/core/fileopen.h"
#include "makeframes/core/framebuild.h"
#include "makeframes/outputsafety.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace {

struct Clock {
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
};

// The caller's events, with the cancel flag looked at on every progress call.
struct Monitor {
    const MakeEvents& events;
    const std::atomic<bool>& cancel;

    void checkCancel() const
    {
        if (cancel.load())
            throw MakeCancelled();
    }
    void progress(const std::string& phase, double fraction) const
    {
        checkCancel();
        if (events.progress)
            events.progress(phase, std::min(1.0, std::max(0.0, fraction)));
    }
    void report(const std::string& line) const
    {
        if (events.report)
            events.report(line);
    }
    void warning(const std::string& line) const
    {
        if (events.warning)
            events.warning(line);
    }
};

// Everything of the run on disk until it is complete: the scratch folder with
// its lock, and the files under temporary names.
struct Cleanup {
    fs::path scratch;
    std::FILE* lock = nullptr;
    // The scratch folder holds a file of an earlier run that could not be
    // put back under its name; the user was told where it is.
    bool keepScratch = false;
    std::vector<fs::path> partial;

    ~Cleanup()
    {
        std::error_code ignored;
        for (const fs::path& name : partial)
            fs::remove(name, ignored);
        if (lock != nullptr)
            std::fclose(lock);
        if (!scratch.empty() && !keepScratch)
            fs::remove_all(scratch, ignored);
    }
};

const fs::path standardInputName = "-";

// Beside the output: a run's lock on the output name, ".makeframes-", the
// output name and ".lock", and its scratch folder (below).
const char scratchStart[] = ".makeframes-";

fs::path lockFileName(const MakeOptions& options)
{
    return options.prefix.parent_path() / fs::u8path(scratchStart + options.prefix.filename().u8string() + ".lock");
}

// The lock on the output name, let go of after everything else of the run.
struct HeldOutput {
    OutputLock lock;
    ~HeldOutput() { releaseOutputLock(lock); }
};

// Takes the output name for this run, or refuses when a live run has it.
// False when the lock file cannot be made, with the reason in `problem`.
bool holdOutput(const MakeOptions& options, HeldOutput& held, std::string& problem)
{
    char started[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(started, sizeof started, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    const std::string holder = "process " + std::to_string(currentProcessId()) + ", started " + started;
    std::string text;
    const LockOutcome outcome = takeOutputLock(lockFileName(options), holder, held.lock, text);
    if (outcome == LockOutcome::held)
        throw MakeError("another run is writing " + displayName(options.prefix) +
                        (text.empty() ? std::string() : " (" + text + ")") +
                        ": wait for it to end, or choose another output name");
    problem = text;
    return outcome == LockOutcome::taken;
}

fs::path outputName(const MakeOptions& options, int length, const char* ending)
{
    fs::path name = options.prefix;
    name += lengthFileEnding(ending, length, options.minLength != options.maxLength);
    return name;
}

// Every kind of file a run writes.
const char* const runFileEndings[] = {alphaFileEnding, freqFileEnding, ngramsFileEnding, statsFileEnding,
                                      corpusFileEnding};

// The files of one length, in the order they are written.
std::vector<fs::path> namesOfLength(const MakeOptions& options, int length)
{
    std::vector<fs::path> names = {outputName(options, length, alphaFileEnding),
                                   outputName(options, length, freqFileEnding)};
    if (options.ngrams)
        names.push_back(outputName(options, length, ngramsFileEnding));
    if (options.stats)
        names.push_back(outputName(options, length, statsFileEnding));
    names.push_back(outputName(options, length, corpusFileEnding));
    return names;
}

// The files to read, folders expanded in sorted name order.
std::vector<fs::path> listInputs(const std::vector<fs::path>& inputs, const Monitor& monitor)
{
    std::vector<fs::path> files;
    for (const fs::path& input : inputs) {
        if (input == standardInputName) {
            files.push_back(input);
            continue;
        }
        std::error_code error;
        const fs::file_status status = fs::status(input, error);
        if (error || !fs::exists(status))
            throw MakeError("cannot read " + displayName(input) + ": " +
                            (error ? error.message() : "no such file"));
        if (!fs::is_directory(status)) {
            files.push_back(input);
            continue;
        }
        std::vector<fs::path> found;
        fs::recursive_directory_iterator walk(input, error), end;
        for (; !error && walk != end; walk.increment(error)) {
            std::error_code typeError;
            if (walk->is_regular_file(typeError))
                found.push_back(walk->path());
            if (found.size() % 4096 == 0)
                monitor.checkCancel();
        }
        if (error)
            throw MakeError("cannot read folder " + displayName(input) + ": " + error.message());
        std::sort(found.begin(), found.end(),
                  [](const fs::path& a, const fs::path& b) { return displayName(a) < displayName(b); });
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

// What tells two names of one file apart from two files: the canonical name,
// and for a file with more than one hard link the system's own comparison.
struct FileIdentity {
    fs::path canonical;
    bool linked = false;
};

bool identify(const fs::path& name, FileIdentity& identity)
{
    std::error_code error;
    identity.canonical = fs::canonical(name, error);
    if (error)
        return false;
    const uintmax_t links = fs::hard_link_count(name, error);
    identity.linked = !error && links > 1;
    return true;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b)
{
    if (a.canonical == b.canonical)
        return true;
    std::error_code error;
    return a.linked && b.linked && fs::equivalent(a.canonical, b.canonical, error) && !error;
}

// A file named twice, or also found in a folder named, is read once. This
// run's own output files, left in a folder being read by an earlier run, are
// not read at all: they are no part of the corpus, and the run replaces them.
// Each file left out is said as a warning and counted in `skipped`.
std::vector<fs::path> withoutRepeatsOrOutputs(const std::vector<fs::path>& files, const MakeOptions& options,
                                              const Monitor& monitor, uint64_t& skipped)
{
    std::vector<FileIdentity> outputs;
    for (int length = options.minLength; length <= options.maxLength; ++length)
        for (const char* ending : runFileEndings)
            for (const char* partial : {"", ".partial"}) {
                fs::path name = outputName(options, length, ending);
                name += partial;
                FileIdentity identity;
                if (identify(name, identity))
                    outputs.push_back(identity);
            }
    FileIdentity lock;
    const bool locked = identify(lockFileName(options), lock);
    std::map<fs::path, fs::path> seenByName;
    std::vector<std::pair<FileIdentity, fs::path>> seenLinked;
    std::vector<fs::path> kept;
    for (const fs::path& file : files) {
        if (kept.size() % 4096 == 0)
            monitor.checkCancel();
        FileIdentity identity;
        // Standard input, and a file that cannot be looked at (reading it
        // says why), are kept.
        if (file == standardInputName || !identify(file, identity)) {
            kept.push_back(file);
            continue;
        }
        if (locked && sameFile(identity, lock))
            continue; // the run's own lock, no text of the user's
        if (std::any_of(outputs.begin(), outputs.end(),
                        [&identity](const FileIdentity& output) { return sameFile(identity, output); })) {
            monitor.warning("skipping " + displayName(file) + ": it is an output file of this run");
            ++skipped;
            continue;
        }
        const fs::path* first = nullptr;
        const auto byName = seenByName.find(identity.canonical);
        if (byName != seenByName.end())
            first = &byName->second;
        else if (identity.linked)
            for (const auto& seen : seenLinked)
                if (sameFile(identity, seen.first))
                    first = &seen.second;
        if (first != nullptr) {
            monitor.warning("skipping " + displayName(file) + ": already read as " + displayName(*first));
            ++skipped;
            continue;
        }
        seenByName.emplace(identity.canonical, file);
        if (identity.linked)
            seenLinked.emplace_back(identity, file);
        kept.push_back(file);
    }
    return kept;
}

// Reads one input into the corpus. False when it is not text, or cannot be
// opened or read (gone, locked, a failing disk), which is skipped and said.
// `place` says which input this is ("file 3 of 500") in the progress.
bool readInput(const fs::path& input, CorpusReader& corpus, const MakeEvents& events, const Monitor& monitor,
               const std::string& place, double fraction)
{
    const bool standardInput = input == standardInputName;
    const std::string shownName = standardInput ? "standard input" : displayName(input);
    if (standardInput && !events.readStandardInput)
        throw MakeError("cannot read standard input here");
    std::FILE* file = standardInput ? nullptr : openFile(input, "rb");
    const auto cannotRead = [&]() { return "cannot read it (" + std::string(std::strerror(errno)) + ")"; };
    if (!standardInput && file == nullptr) {
        monitor.warning("skipping " + shownName + ": " + cannotRead());
        return false;
    }
    struct CloseAtEnd {
        std::FILE* file;
        ~CloseAtEnd()
        {
            if (file != nullptr)
                std::fclose(file);
        }
    } closeAtEnd{file};

    // A failed read ends the file there; readFailure says why.
    std::string readFailure;
    const auto readSome = [&](char* into, size_t size) -> size_t {
        if (standardInput)
            return events.readStandardInput(into, size);
        const size_t got = std::fread(into, 1, size, file);
        if (got < size && std::ferror(file) && readFailure.empty())
            readFailure = cannotRead();
        return readFailure.empty() ? got : 0;
    };
    std::vector<char> buffer(1 << 20);
    // Fills the buffer, or up to the end of the input; at least
    // textCheckBytes unless the input ends first.
    const auto fill = [&]() {
        size_t got = 0;
        while (got < buffer.size()) {
            monitor.checkCancel();
            const size_t n = readSome(buffer.data() + got, buffer.size() - got);
            if (n == 0)
                break;
            got += n;
            if (got >= textCheckBytes)
                break; // enough to tell the kind
        }
        return got;
    };

    size_t size = fill();
    if (!readFailure.empty()) {
        monitor.warning("skipping " + shownName + ": " + readFailure);
        return false;
    }
    bool atEnd = size < textCheckBytes;
    const TextKind kind = classifyText(buffer.data(), std::min(size, textCheckBytes), atEnd);
    if (kind == textBinary) {
        monitor.warning("skipping " + shownName + ": not a text file (it holds NUL bytes)");
        return false;
    }
    corpus.beginFile(kind);
    while (size > 0) {
        corpus.addBytes(buffer.data(), size);
        monitor.progress("reading " + place + ", " + formatThousands(static_cast<int64_t>(corpus.wordCount)) +
                             " words so far",
                         fraction);
        size = atEnd ? 0 : fill();
        if (size == 0)
            break;
        atEnd = false;
    }
    corpus.endFile();
    if (!readFailure.empty())
        monitor.warning("skipping the rest of " + shownName + ": " + readFailure);
    return true;
}

// "a and b", "a, b and c".
std::string listed(const std::vector<fs::path>& names)
{
    std::string text;
    for (size_t k = 0; k < names.size(); ++k) {
        if (k > 0)
            text += k + 1 == names.size() ? " and " : ", ";
        text += displayName(names[k]);
    }
    return text;
}

// A run's scratch folder is ".makeframes-", the output name, "-" and six
// letters or digits, and holds a lock file while the run lives.
const size_t scratchTagLength = 6;
const char lockName[] = "lock";
// While a run puts its files in place, its scratch folder lists how many new
// files it has, then the names it replaces: the new files' final names, then
// the earlier files it removes. Each is ended by a NUL (which no file name
// holds), so that the next run can undo a replacement stopped part way. The
// earlier file of the Nth name waits in the folder as "earlierN".
const char replacingName[] = "replacing";

fs::path earlierName(const fs::path& scratch, size_t index)
{
    return scratch / ("earlier" + std::to_string(index));
}

fs::path partialName(fs::path name)
{
    name += ".partial";
    return name;
}

bool isScratchFolderOf(const fs::path& folder, const MakeOptions& options)
{
    const std::string start = scratchStart + options.prefix.filename().u8string() + "-";
    const std::string name = folder.filename().u8string();
    return name.size() == start.size() + scratchTagLength && name.compare(0, start.size(), start) == 0;
}

// What the user can do about a file or folder the run cannot make or use.
std::string adviceFor(const std::error_code& error)
{
    if (error == std::errc::no_space_on_device)
        return "free some space on the disk, or choose an output folder on another disk";
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted ||
        error == std::errc::read_only_file_system)
        return "choose an output folder you may write in";
    if (error == std::errc::no_such_file_or_directory)
        return "another program removed it while the files were made: make them again";
    return "make the files again, and if it fails again choose another output folder";
}

std::string cannotWriteIn(const fs::path& outputFolder, const std::error_code& error)
{
    return "cannot write in the output folder " + displayName(outputFolder) + ": " + error.message() + "; " +
           adviceFor(error);
}

// A new folder for the scratch files beside the output, locked.
void makeScratchFolder(const fs::path& outputFolder, const MakeOptions& options, Cleanup& cleanup)
{
    std::random_device device;
    std::mt19937_64 random(device() ^ static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = scratchStart + options.prefix.filename().u8string() + "-";
        for (size_t k = 0; k < scratchTagLength; ++k)
            name += letters[random() % (sizeof letters - 1)];
        const fs::path folder = outputFolder / fs::u8path(name);
        std::error_code error;
        if (fs::create_directory(folder, error)) {
            cleanup.scratch = folder;
            cleanup.lock = openLockFile(folder / lockName);
            if (cleanup.lock == nullptr)
                throw MakeError(cannotWriteIn(outputFolder, std::error_code(errno, std::generic_category())));
            return;
        }
        if (error)
            throw MakeError(cannotWriteIn(outputFolder, error));
    }
    throw MakeError("cannot create a temporary folder in " + displayName(outputFolder));
}

// Undoes what a run stopped while it put its files in place did, from its
// scratch folder: unless every new file is in place, each earlier file goes
// back under its name, and a new file in place where there was none goes.
// False when an earlier file cannot go back (the user is told where it is).
bool undoReplacing(const fs::path& folder, const Monitor& monitor, std::vector<fs::path>& putBack,
                   std::vector<fs::path>& removed)
{
    std::FILE* file = openFile(folder / replacingName, "rb");
    if (file == nullptr)
        return true;
    std::string text;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    std::fclose(file);
    std::vector<fs::path> names;
    for (size_t start = text.find('\0') + 1, end; start > 0 && (end = text.find('\0', start)) != std::string::npos;
         start = end + 1)
        names.push_back(fs::u8path(text.substr(start, end - start)));
    const size_t newFiles = std::min<size_t>(std::strtoul(text.c_str(), nullptr, 10), names.size());
    std::error_code error;
    if (std::none_of(names.begin(), names.begin() + newFiles,
                     [&error](const fs::path& name) { return fs::exists(partialName(name), error); }))
        return true; // the new set is complete
    bool allBack = true;
    for (size_t k = 0; k < names.size(); ++k) {
        const fs::path earlier = earlierName(folder, k);
        std::string problem;
        if (fs::exists(earlier, error)) {
            fs::remove(names[k], error);
            if (moveFile(earlier, names[k], problem)) {
                putBack.push_back(names[k]);
            } else {
                monitor.warning("cannot put back " + displayName(names[k]) + ": " + problem + "; it is kept as " +
                                displayName(earlier));
                allBack = false;
            }
        } else if (k < newFiles && !fs::exists(partialName(names[k]), error) && fs::remove(names[k], error)) {
            removed.push_back(names[k]);
        }
    }
    return allBack;
}

// What an earlier run of the same output left when it was killed: its files
// under temporary names, for any length, and its scratch folders that no live
// run holds, with the earlier files it was replacing put back first. Nothing
// else is touched, and each removal is said.
void removeLeftovers(const MakeOptions& options, const fs::path& outputFolder, const Monitor& monitor)
{
    std::vector<fs::path> removed;
    std::vector<fs::path> putBack;
    std::error_code error;
    std::vector<fs::path> folders;
    for (fs::directory_iterator entry(outputFolder, error), end; !error && entry != end; entry.increment(error)) {
        if (!isScratchFolderOf(entry->path(), options) || !entry->is_directory(error))
            continue;
        // A run killed before it locked its folder wrote nothing in it.
        const fs::path lock = entry->path() / lockName;
        if (!fs::exists(lock, error) || removeUnlessHeld(lock))
            folders.push_back(entry->path());
        else
            monitor.warning("left " + displayName(entry->path()) +
                            " alone: another run still uses it, or it cannot be removed");
    }
    std::vector<fs::path> undone;
    for (const fs::path& folder : folders)
        if (undoReplacing(folder, monitor, putBack, removed))
            undone.push_back(folder);
    for (int length = 1; length <= maxFrameLength; ++length)
        for (const char* ending : runFileEndings) {
            // Length 1 stands for the names of a run of one length.
            fs::path name = options.prefix;
            name += lengthFileEnding(ending, length, length != 1) + ".partial";
            if (fs::is_regular_file(name, error) && fs::remove(name, error))
                removed.push_back(name);
        }
    for (const fs::path& folder : undone)
        if (fs::remove_all(folder, error) > 0)
            removed.push_back(folder);
    if (!putBack.empty())
        monitor.warning("put back the files an unfinished earlier run was replacing: " + listed(putBack));
    if (!removed.empty())
        monitor.warning("removed what an unfinished earlier run left: " + listed(removed));
}

const char* yesOrNo(bool value)
{
    return value ? "yes" : "no";
}

// What the run read and how, for its Corpus files: the options that shape the
// frames under the console program's names for them (not the memory bound,
// which changes only where they are sorted), and each file read with its
// counts.
CorpusRecord corpusRecord(const MakeOptions& options, const std::vector<fs::path>& read, const CorpusReader& corpus)
{
    CorpusRecord record;
    record.codePage = options.codePage;
    std::string lengths = std::to_string(options.minLength);
    if (options.maxLength != options.minLength)
        lengths += "-" + std::to_string(options.maxLength);
    record.options = {
        {"n", lengths},
        {"min", std::to_string(options.minFrequency)},
        {"minvar", std::to_string(options.minVariants)},
        {"minrange", std::to_string(options.minRange)},
        {"slots", options.innerSlotsOnly ? "inner" : "all"},
        {"keepcase", yesOrNo(options.keepCase)},
        {"hyphens", options.joinHyphens ? "join" : "split"},
        {"ngrams", yesOrNo(options.ngrams)},
        {"stats", yesOrNo(options.stats)},
    };
    // Words read as UTF-8 keep every letter: the code page then only read
    // 8-bit input. Count lists hold no text to find the frames' lines in.
    if (options.utf8)
        record.options.push_back({"output", "utf8"});
    if (options.countLists) {
        record.options.push_back({"counts", "yes"});
        return record;
    }
    for (size_t k = 0; k < read.size(); ++k) {
        std::error_code error;
        const fs::path full = read[k] == standardInputName ? read[k] : fs::absolute(read[k], error);
        record.inputs.push_back({displayName(error ? read[k] : full), displayName(read[k]), corpus.fileWords[k],
                                 corpus.fileSentences[k]});
    }
    record.words = corpus.wordCount;
    record.sentences = corpus.sentenceCount;
    return record;
}

// Reads one count list into the corpus; true, as a list is never skipped: one
// that cannot be read stops the run, as without it the counts would be
// those of another corpus.
bool readCountList(const fs::path& input, CountListReader& list, const MakeEvents& events, const Monitor& monitor,
                   const std::string& place, double fraction)
{
    const bool standardInput = input == standardInputName;
    list.name = standardInput ? "standard input" : displayName(input);
    list.lines = 0;
    if (standardInput && !events.readStandardInput)
        throw MakeError("cannot read standard input here");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(standardInput ? nullptr : openFile(input, "rb"), std::fclose);
    if (!standardInput && file == nullptr)
        throw MakeError("cannot read " + list.name + ": " + std::strerror(errno));
    std::vector<char> buffer(1 << 20);
    for (;;) {
        monitor.progress("reading count list " + place, fraction);
        const size_t got = standardInput ? events.readStandardInput(buffer.data(), buffer.size())
                                         : std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (!standardInput && got < buffer.size() && std::ferror(file.get()))
            throw MakeError("cannot read " + list.name + ": " + std::strerror(errno));
        if (got == 0)
            break;
        list.addBytes(buffer.data(), got);
    }
    list.end();
    return true;
}

std::string badLinesText(const BadCountLines& bad)
{
    std::string text = "nothing written: " + formatThousands(static_cast<int64_t>(bad.count)) +
                       (bad.count == 1 ? " line of the count lists is" : " lines of the count lists are") +
                       " not an n-gram TAB its count:";
    for (const std::string& line : bad.shown)
        text += "\n  " + line;
    if (bad.count > bad.shown.size())
        text += "\n  and " + formatThousands(static_cast<int64_t>(bad.count - bad.shown.size())) + " more";
    return text;
}

std::string plural(uint64_t count, const char* one, const char* many)
{
    return formatThousands(static_cast<int64_t>(count)) + " " + (count == 1 ? one : many);
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", value);
    return text;
}

// Flushes the new files to the disk and lists the names they replace in the
// scratch folder, before any of them replaces an earlier file.
void writeReplacing(const std::vector<fs::path>& partials, const std::vector<fs::path>& names, const fs::path& scratch)
{
    for (const fs::path& partial : partials)
        if (!flushToDisk(partial))
            throw MakeError("cannot write " + displayName(partial) + " to the disk");
    const fs::path list = scratch / replacingName;
    std::FILE* file = openFile(list, "wb");
    bool written = file != nullptr;
    std::vector<std::string> entries = {std::to_string(partials.size())};
    for (const fs::path& name : names)
        entries.push_back(name.u8string());
    for (const std::string& text : entries)
        written = written && std::fwrite(text.c_str(), 1, text.size() + 1, file) == text.size() + 1;
    if (file != nullptr && std::fclose(file) != 0)
        written = false;
    if (!written || !flushToDisk(list))
        throw MakeError("cannot write " + displayName(list) + " to the disk");
}

// Puts the finished files under their final names (the first of `names`),
// all or none, and removes the earlier files under the rest. The files of an
// earlier run under those names are first moved into the scratch folder, so
// that one held open by another program stops the run before any file is
// replaced; if a step fails, every file goes back where it was, and if the
// run is stopped, the next run puts them back.
void commitFiles(const std::vector<fs::path>& partials, const std::vector<fs::path>& names, Cleanup& cleanup)
{
    writeReplacing(partials, names, cleanup.scratch);
    std::vector<std::pair<fs::path, fs::path>> movedAside; // final name, where it waits
    std::vector<size_t> placed;
    std::string failure;
    std::string problem;
    for (size_t k = 0; k < names.size() && failure.empty(); ++k) {
        std::error_code error;
        if (!fs::exists(fs::symlink_status(names[k], error)))
            continue;
        const fs::path aside = earlierName(cleanup.scratch, k);
        if (moveFile(names[k], aside, problem))
            movedAside.emplace_back(names[k], aside);
        else
            failure = "cannot replace " + displayName(names[k]) + ": " + problem;
    }
    for (size_t k = 0; k < partials.size() && failure.empty(); ++k) {
        if (moveFile(partials[k], names[k], problem))
            placed.push_back(k);
        else
            failure = "cannot rename " + displayName(partials[k]) + " to " + displayName(names[k]) + ": " + problem;
    }
    if (failure.empty())
        return;
    for (size_t k : placed)
        moveFile(names[k], partials[k], problem);
    for (const auto& earlier : movedAside)
        if (!moveFile(earlier.second, earlier.first, problem)) {
            failure += "; the earlier " + displayName(earlier.first) + " is kept as " + displayName(earlier.second);
            cleanup.keepScratch = true;
        }
    throw MakeError(failure);
}

// Below this bound the sorts spill thousands of tiny runs and merge them over
// and over: a run crawls, and a cancel waits for each merge.
const uint64_t leastMemoryBytes = uint64_t(16) << 20;

// What the caller must have checked; a window's fields could let it through.
void checkOptions(const MakeOptions& options)
{
    if (options.minLength < 2 || options.maxLength > maxFrameLength || options.minLength > options.maxLength)
        throw MakeError("the n-gram length must be 2 to " + std::to_string(maxFrameLength));
    if (options.innerSlotsOnly && options.minLength < 3)
        throw MakeError("inner slots only needs n-grams of at least 3 words");
    if (!isSupportedCodePage(options.codePage))
        throw MakeError("code page " + std::to_string(options.codePage) + " is not one makeframes writes");
    if (options.countLists && options.minLength != options.maxLength)
        throw MakeError("a count list holds n-grams of one length: give -n one length");
    if (options.countLists && options.minRange > 1)
        throw MakeError("-minrange needs the texts: count lists do not say which files an n-gram occurs in");
    if (options.inputs.empty())
        throw MakeError("no input chosen");
    if (options.prefix.empty() || !options.prefix.has_filename())
        throw MakeError("no output name chosen");
}

// Said before anything is looked at, so that a mistyped folder is not taken
// for one the run could not write in.
void checkOutputFolder(const fs::path& outputFolder)
{
    std::error_code error;
    if (!fs::is_directory(outputFolder, error))
        throw MakeError("the output folder " + displayName(outputFolder) + " does not exist");
}

MakeResult run(const MakeOptions& options, const MakeEvents& events, const std::atomic<bool>& cancel)
{
    checkOptions(options);
    const Clock clock;
    const Monitor monitor{events, cancel};
    HeldOutput held;
    Cleanup cleanup;
    MakeResult result;

    // The scratch folder beside the output: runs and the word stream.
    fs::path outputFolder = options.prefix.parent_path();
    if (outputFolder.empty())
        outputFolder = ".";
    checkOutputFolder(outputFolder);
    std::string lockProblem;
    const bool locked = holdOutput(options, held, lockProblem);
    if (locked)
        removeLeftovers(options, outputFolder, monitor);
    const std::vector<fs::path> inputs =
        withoutRepeatsOrOutputs(listInputs(options.inputs, monitor), options, monitor, result.filesSkipped);
    makeScratchFolder(outputFolder, options, cleanup);
    // Where the scratch folder can be made, the lock file can as well.
    if (!locked)
        throw MakeError("cannot write in " + displayName(outputFolder) + ": " + lockProblem);

    const uint64_t memoryBytes = std::max(options.memoryBytes, leastMemoryBytes);
    if (memoryBytes != options.memoryBytes)
        monitor.warning("memory bound raised to 16 MB, the least that sorts a corpus in pieces of a useful size");
    CorpusReader corpus;
    corpus.keepCase = options.keepCase;
    corpus.joinHyphens = options.joinHyphens;
    corpus.page = &codePage(options.codePage);
    WordStream words;
    words.memoryLimit = static_cast<size_t>(std::max<uint64_t>(memoryBytes / 16 / sizeof(uint32_t), 1024));
    words.spillName = cleanup.scratch / "words";
    sendIdsTo(corpus, words);
    corpus.utf8Words = options.utf8;

    std::vector<fs::path> read;
    BadCountLines badLines;
    CountListReader countList{corpus, words, options.minLength, "", badLines, 0, 0, {}, {}};
    for (size_t k = 0; k < inputs.size(); ++k) {
        const std::string place = "file " + formatThousands(static_cast<int64_t>(k + 1)) + " of " +
                                  formatThousands(static_cast<int64_t>(inputs.size()));
        if (options.countLists ? readCountList(inputs[k], countList, events, monitor, place, double(k) / double(inputs.size()))
                               : readInput(inputs[k], corpus, events, monitor, place, double(k) / double(inputs.size()))) {
            ++result.filesRead;
            read.push_back(inputs[k]);
        } else {
            ++result.filesSkipped;
        }
    }
    words.finish();
    if (badLines.count > 0)
        throw MakeError(badLinesText(badLines));
    if (result.filesRead == 0)
        throw MakeError("no text file among the inputs");
    result.words = corpus.wordCount;
    result.sentences = corpus.sentenceCount;
    result.unmapped = corpus.unmappedCount;
    if (options.refuseLostLetters && !options.utf8) {
        const LostLetters lost = lostLetters(corpus.lettersRead, options.codePage);
        if (lost.letters > 0)
            throw LettersLost(lost);
    }

    if (options.countLists)
        monitor.report("read " + plural(result.filesRead, "count list", "count lists") + ", " +
                       plural(countList.ngrams, "n-gram", "n-grams") + " in " + seconds(clock.seconds()));
    else
        monitor.report("read " + plural(result.filesRead, "file", "files") + " (" +
                       formatThousands(static_cast<int64_t>(result.filesSkipped)) + " skipped), " +
                       plural(corpus.wordCount, "word", "words") + ", " +
                       plural(corpus.sentenceCount, "sentence", "sentences") + " in " + seconds(clock.seconds()));
    if (corpus.unmappedCount > 0)
        monitor.report(plural(corpus.unmappedCount, "character", "characters") + " without a code page " +
                       std::to_string(options.codePage) + " form (written as ? within words)");
    if (corpus.cutWordCount > 0)
        monitor.report(plural(corpus.cutWordCount, "word", "words") + " longer than " +
                       plural(maxWordBytes, "byte", "bytes") + ", cut to the bytes that fit");

    // Every length is made under temporary names first, and all are renamed
    // at the end: a run that fails at its last length replaces no file.
    const RankedWords ranked = rankWords(corpus);
    const std::string corpusText = writeCorpusText(corpusRecord(options, read, corpus));
    std::vector<fs::path> partials;
    std::vector<std::string> lengthReports;
    for (int length = options.minLength; length <= options.maxLength; ++length) {
        const double started = clock.seconds();
        const std::vector<fs::path> names = namesOfLength(options, length);
        const size_t first = partials.size();
        for (const fs::path& name : names) {
            partials.push_back(name);
            partials.back() += ".partial";
        }
        cleanup.partial = partials;

        FrameSettings settings;
        settings.length = length;
        settings.minFrequency = options.minFrequency;
        settings.minVariants = options.minVariants;
        settings.minRange = options.minRange;
        settings.innerSlotsOnly = options.innerSlotsOnly;
        settings.byteOrderMark = options.utf8;
        settings.fromCountLists = options.countLists;
        // The lengths are built one after another, so each has the whole
        // bound; its build counts the corpus it shares with the others in.
        settings.memoryBytes = memoryBytes;
        settings.scratchFolder = cleanup.scratch;
        settings.threads = options.threads > 0 ? options.threads : std::max(1u, std::thread::hardware_concurrency());
        const std::string phasePrefix = std::to_string(length) + "-grams: ";
        settings.progress = [&monitor, &phasePrefix](const char* phase, double fraction) {
            monitor.progress(phasePrefix + phase, fraction);
        };
        settings.poll = [&monitor]() { monitor.checkCancel(); };
        FrameFileNames files;
        files.alpha = partials[first];
        files.freq = partials[first + 1];
        if (options.ngrams)
            files.ngrams = partials[first + 2];
        if (options.stats)
            files.stats = partials[first + 2 + options.ngrams];
        const FrameCounts counts = writeFrameFiles(corpus, words, ranked, settings, files);
        OutputFile corpusFile(partials.back());
        corpusFile.write(corpusText);
        corpusFile.close();
        result.frames += counts.frames;
        result.variants += counts.variants;
        result.written.insert(result.written.end(), names.begin(), names.end());
        lengthReports.push_back(std::to_string(length) + "-grams: " + plural(counts.ngrams, "n-gram", "n-grams") +
                                ", " + plural(counts.frames, "frame", "frames") + " with " +
                                plural(counts.variants, "variant", "variants") +
                                (counts.spilled ? " (sorted on disk)" : "") + " in " +
                                seconds(clock.seconds() - started) + ": " + listed(names));
    }
    // Files of no frame would only puzzle the user: say what keeps them out.
    if (result.frames == 0) {
        const bool range = options.minRange > 1;
        throw MakeError("no frame occurs at least " + plural(options.minFrequency, "time", "times") + " in " +
                        plural(options.minVariants, "variant", "variants") +
                        (range ? " in " + plural(options.minRange, "file", "files") + ": lower -min, -minvar or -minrange"
                               : ": lower -min or -minvar"));
    }
    monitor.progress("renaming", 1);
    std::vector<fs::path> replaced = result.written;
    std::vector<fs::path> companions;
    for (const fs::path& name : companionNames(options)) {
        std::error_code error;
        if (fs::exists(fs::symlink_status(name, error)))
            companions.push_back(name);
    }
    replaced.insert(replaced.end(), companions.begin(), companions.end());
    commitFiles(partials, replaced, cleanup);
    cleanup.partial.clear();
    for (const std::string& line : lengthReports)
        monitor.report(line);
    if (!companions.empty())
        monitor.report("removed the earlier " + listed(companions) + ", which this run does not write");
    result.seconds = clock.seconds();
    monitor.report("done in " + seconds(result.seconds));
    return result;
}

} // namespace

std::string displayName(const fs::path& path)
{
    return path.u8string();
}

std::vector<fs::path> outputNames(const MakeOptions& options)
{
    std::vector<fs::path> names;
    for (int length = options.minLength; length <= options.maxLength; ++length) {
        const std::vector<fs::path> ofLength = namesOfLength(options, length);
        names.insert(names.end(), ofLength.begin(), ofLength.end());
    }
    return names;
}

std::vector<fs::path> companionNames(const MakeOptions& options)
{
    std::vector<fs::path> names;
    for (int length = options.minLength; length <= options.maxLength; ++length) {
        if (!options.ngrams)
            names.push_back(outputName(options, length, ngramsFileEnding));
        if (!options.stats)
            names.push_back(outputName(options, length, statsFileEnding));
    }
    return names;
}

MakeResult runMakeFrames(const MakeOptions& options, const MakeEvents& events, const std::atomic<bool>& cancel)
{
    try {
        return run(options, events, cancel);
    } catch (const MakeCancelled&) {
        throw;
    } catch (const MakeError&) {
        if (cancel.load())
            throw MakeCancelled();
        throw;
    } catch (const fs::filesystem_error& error) {
        if (cancel.load())
            throw MakeCancelled();
        throw MakeError(filesystemFailureText(error));
    } catch (const std::runtime_error& error) {
        // The core's own failures (a file that cannot be written, a
        // temporary file that cannot be read) are the user's to read.
        if (cancel.load())
            throw MakeCancelled();
        throw MakeError(error.what());
    }
}

std::string filesystemFailureText(const fs::filesystem_error& error)
{
    const std::string name = error.path1().empty() ? "a file" : displayName(error.path1());
    return "cannot use " + name + ": " + error.code().message() + "; " + adviceFor(error.code());
}
