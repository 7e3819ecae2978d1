// One makeframes run, as the console program and the window make it: the
// inputs read, the files of each n-gram length written under temporary names
// and renamed when complete, and everything temporary removed on every way
// out but a hard kill.
#pragma once
#include "makeframes/core/lostletters.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

struct MakeOptions {
    int minLength = 4;
    int maxLength = 4;
    uint64_t minFrequency = 2;
    uint64_t minVariants = 2;
    uint64_t minRange = 1;
    bool innerSlotsOnly = false;
    bool keepCase = false;
    bool joinHyphens = false; // "so-called" one word (corpustext.h)
    bool ngrams = false;      // also prefix[-N]-Ngrams.txt
    bool stats = false;       // also prefix[-N]-Stats.txt
    int codePage = 1252;      // 1250, 1251, 1252, 1253, 1254, 1257: the output's, and 8-bit input's
    // Every file in UTF-8 with its byte-order mark, words keeping every
    // letter; codePage then only reads 8-bit input (and its case rule).
    bool utf8 = false;
    // The user did not choose the code page: a corpus with letters it has
    // no form for is refused (LettersLost) rather than written with "?".
    bool refuseLostLetters = false;
    bool countLists = false;  // the inputs are n-gram count lists (countlist.h), not text
    uint64_t memoryBytes = uint64_t(1) << 30;
    unsigned threads = 0; // the sorts' threads; 0: one per core of the machine
    std::vector<std::filesystem::path> inputs; // files and folders ("-" = standard input, console only)
    std::filesystem::path prefix;              // output prefix: folder + name start
};

// What a run tells its caller while it works. Every member may be empty.
struct MakeEvents {
    // The phase in words ("reading file 3 of 12", "4-grams: sorting") and how
    // much of it is done (0..1). Called often; cheap callers only.
    std::function<void(const std::string& phase, double fraction)> progress;
    // Each line of the summary, as the console program prints it on standard
    // output (no line end).
    std::function<void(const std::string& line)> report;
    // Each warning (a skipped input and why), as printed on standard error
    // after "makeframes: ".
    std::function<void(const std::string& line)> warning;
    // Reads standard input (the input "-"): up to `size` bytes into `buffer`,
    // the count read, 0 at its end. Throws MakeError when it cannot read and
    // MakeCancelled when the run is cancelled while it waits. Empty: "-" is
    // not an input this caller offers.
    std::function<size_t(char* buffer, size_t size)> readStandardInput;
};

struct MakeResult {
    uint64_t filesRead = 0, filesSkipped = 0;
    uint64_t words = 0, sentences = 0, unmapped = 0;
    uint64_t frames = 0, variants = 0;            // over all lengths
    std::vector<std::filesystem::path> written;   // final names, in the order written
    double seconds = 0;
};

// Thrown when the run cannot go on (the message says why, for the user);
// nothing of the run is left on disk under a final name, no temporary file
// is left at all, and files of an earlier run under the final names are as
// they were.
struct MakeError : std::runtime_error { using std::runtime_error::runtime_error; };
// Thrown when the corpus holds letters the code page has no form for and
// refuseLostLetters is set: after reading, before any file is written.
struct LettersLost : MakeError {
    LostLetters lost;
    explicit LettersLost(const LostLetters& letters) : MakeError(lostLettersRefusal(letters)), lost(letters) {}
};
// Thrown when `cancel` became true; nothing of the run is left on disk.
struct MakeCancelled : std::runtime_error { MakeCancelled() : std::runtime_error("cancelled") {} };

// The final names the options would write, in order (for "replace?" questions).
std::vector<std::filesystem::path> outputNames(const MakeOptions& options);

// The n-gram lists and statistics of the lengths the options make but do not
// ask for. A run replaces the whole set of each length it makes, so it removes
// these files of an earlier run (they are in "replace?" questions too).
std::vector<std::filesystem::path> companionNames(const MakeOptions& options);

// Reads the inputs and writes the files. `cancel` is polled often (at least
// every few hundred milliseconds of work). The run holds its output name for
// its whole life: while another live run holds it, this one refuses at once
// (MakeError). What a killed run of the same output left (files under
// temporary names, a scratch folder no live run holds) is removed first, the
// earlier files it was replacing put back unless its new set was complete,
// and both said as warnings. Throws MakeError, MakeCancelled, std::bad_alloc.
MakeResult runMakeFrames(const MakeOptions& options, const MakeEvents& events, const std::atomic<bool>& cancel);

// A path as UTF-8 text for messages (on Linux its bytes as they are).
std::string displayName(const std::filesystem::path& path);

// A failure the standard library tells in its own words ("filesystem error:
// cannot get file size: ..."), told for the user: the file, the system's
// reason and what to do about it.
std::string filesystemFailureText(const std::filesystem::filesystem_error& error);
