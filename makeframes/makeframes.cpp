// makeframes: builds the phrase-frame files the browser reads from a corpus
// of plain 8-bit, UTF-8 or UTF-16 text.
//
//   makeframes [options] input... outprefix
//
// Inputs are files, folders (read recursively, in sorted name order) and "-"
// for standard input; each file is read once, however often it is named,
// and the run's own output files are never read. For each n-gram length it
// writes outprefix-Alpha-phraseFrames.txt (records by frame, variants
// alphabetically) and outprefix-Freq-phraseFrames.txt (records by falling
// frequency, variants by falling frequency; ties by byte order); with a
// range of lengths the length goes into the names:
// outprefix-3-Alpha-phraseFrames.txt and so on. -ngrams adds
// outprefix-Ngrams.txt (each n-gram TAB its frequency, the stopword filter's
// input), -stats outprefix-Stats.txt (measures of each kept frame, a table
// for a spreadsheet). Each file is written under a temporary name and renamed
// when complete. -codepage chooses the code page of the output (utf8: every
// file in UTF-8), -hyphens join keeps "so-called" one word, -threads the
// number of threads the sorts run on. Without -codepage, a corpus with
// letters the default code page has no form for is refused before anything
// is written, naming the code page that keeps them. -counts reads n-gram
// count lists (makeframes/core/countlist.h) instead of text.
//
// Words, sentences and the conversion of UTF-8 and UTF-16 are described in
// common/core/corpustext.h, frames and the file format in
// makeframes/core/framebuild.h. The run itself is makeframes/core/run.h; this
// file reads the options, shows progress and the summary, and turns the
// outcome into the exit status: 0 done, 1 failed or interrupted, 2 bad usage,
// 3 letters of the corpus have no form in the default code page.
#include "makeframes/console.h"
#include "common/core/codepage.h"
#include "makeframes/core/framebuild.h"
#include "makeframes/core/run.h"
#include "makeframes/core/timeleft.h"
#include "makeframes/core/usage.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct ConsoleOptions {
    MakeOptions run;
    bool quiet = false;
    bool help = false;
};

const int lettersLostStatus = 3;

int usage(const std::string& problem)
{
    writeText(stderr, "makeframes: " + problem + "\n" + makeFramesHelp());
    return 2;
}

bool readCount(const char* text, uint64_t minimum, uint64_t maximum, uint64_t& value)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long read = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || read < minimum || read > maximum)
        return false;
    value = read;
    return true;
}

bool readLengths(const std::string& text, int& minLength, int& maxLength)
{
    const size_t dash = text.find('-');
    uint64_t low = 0;
    uint64_t high = 0;
    if (dash == std::string::npos) {
        if (!readCount(text.c_str(), 2, maxFrameLength, low))
            return false;
        high = low;
    } else if (!readCount(text.substr(0, dash).c_str(), 2, maxFrameLength, low) ||
               !readCount(text.substr(dash + 1).c_str(), 2, maxFrameLength, high) || high < low) {
        return false;
    }
    minLength = static_cast<int>(low);
    maxLength = static_cast<int>(high);
    return true;
}

// A size in bytes, with K, M or G (powers of 1024) after the number.
bool readSize(const std::string& text, uint64_t& bytes)
{
    if (text.empty())
        return false;
    uint64_t unit = 1;
    std::string digits = text;
    switch (text.back()) {
    case 'k': case 'K': unit = uint64_t(1) << 10; break;
    case 'm': case 'M': unit = uint64_t(1) << 20; break;
    case 'g': case 'G': unit = uint64_t(1) << 30; break;
    default: break;
    }
    if (unit != 1)
        digits.pop_back();
    uint64_t value = 0;
    if (!readCount(digits.c_str(), 1, (uint64_t(1) << 50) / unit, value))
        return false;
    bytes = value * unit;
    return true;
}

bool readCodePage(const std::string& text, MakeOptions& options)
{
    options.refuseLostLetters = false;
    if (text == "utf8") {
        options.utf8 = true;
        return true;
    }
    options.utf8 = false;
    uint64_t number = 0;
    if (!readCount(text.c_str(), 1, 65535, number) || !isSupportedCodePage(static_cast<int>(number)))
        return false;
    options.codePage = static_cast<int>(number);
    return true;
}

// Returns 0 when the options are good (or ask for the help), else the exit
// status after a message.
int parseOptions(const std::vector<std::string>& args, ConsoleOptions& options)
{
    std::vector<std::string> names;
    uint64_t threads = 0;
    for (size_t a = 0; a < args.size(); ++a) {
        const std::string& arg = args[a];
        const bool hasValue = a + 1 < args.size();
        if (arg == "-n" || arg == "-min" || arg == "-minvar" || arg == "-minrange" || arg == "-slots" ||
            arg == "-mem" || arg == "-codepage" || arg == "-hyphens" || arg == "-threads") {
            if (!hasValue)
                return usage(arg + " needs a value");
            const std::string& value = args[++a];
            bool good = true;
            if (arg == "-n")
                good = readLengths(value, options.run.minLength, options.run.maxLength);
            else if (arg == "-min")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.run.minFrequency);
            else if (arg == "-minvar")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.run.minVariants);
            else if (arg == "-minrange")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.run.minRange);
            else if (arg == "-slots")
                good = value == "inner" || value == "all", options.run.innerSlotsOnly = value == "inner";
            else if (arg == "-hyphens")
                good = value == "join" || value == "split", options.run.joinHyphens = value == "join";
            else if (arg == "-codepage")
                good = readCodePage(value, options.run);
            else if (arg == "-threads")
                good = readCount(value.c_str(), 1, 256, threads), options.run.threads = static_cast<unsigned>(threads);
            else
                good = readSize(value, options.run.memoryBytes);
            if (!good)
                return usage("bad value for " + arg + ": " + value);
        } else if (arg == "-keepcase") {
            options.run.keepCase = true;
        } else if (arg == "-ngrams") {
            options.run.ngrams = true;
        } else if (arg == "-stats") {
            options.run.stats = true;
        } else if (arg == "-counts") {
            options.run.countLists = true;
        } else if (arg == "-q") {
            options.quiet = true;
        } else if (arg == "-h" || arg == "--help") {
            options.help = true;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-') {
            const std::string meant = nearestName(arg, makeFramesOptions);
            return usage("unknown option " + arg + (meant.empty() ? "" : ": did you mean " + meant + "?"));
        } else {
            names.push_back(arg);
        }
    }
    if (names.size() < 2)
        return usage("needs at least one input and the output prefix");
    if (options.run.innerSlotsOnly && options.run.minLength < 3)
        return usage("-slots inner needs n-grams of at least 3 words");
    if (std::count(names.begin(), names.end() - 1, std::string("-")) > 1)
        return usage("standard input (-) can be read only once");
    options.run.prefix = fs::u8path(names.back());
    names.pop_back();
    for (const std::string& name : names)
        options.run.inputs.push_back(fs::u8path(name));
    return 0;
}

// Progress on standard error: nothing in the first second, then a line now
// and then (rewritten in place on a console), with the phase's time left
// once it can be told.
struct Progress {
    bool quiet = false;
    bool terminal = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown = started;
    bool shown = false;
    PhaseClock phaseClock;
    size_t shownLength = 0; // of the line rewritten in place, after "makeframes: "

    void show(const std::string& phase, double fraction)
    {
        if (quiet)
            return;
        const auto now = std::chrono::steady_clock::now();
        const std::string left =
            timeLeftText(phaseClock, phase, fraction, std::chrono::duration<double>(now - started).count());
        if (now - started < std::chrono::seconds(1))
            return;
        if (shown && now - lastShown < std::chrono::milliseconds(terminal ? 250 : 5000))
            return;
        lastShown = now;
        shown = true;
        char percent[16];
        std::snprintf(percent, sizeof percent, " %3.0f%%", 100.0 * fraction);
        const std::string line = phase + percent + (left.empty() ? "" : ", " + left);
        if (terminal) {
            // Blanks over what a longer line before left.
            writeText(stderr, "\rmakeframes: " + line + std::string(shownLength - std::min(shownLength, line.size()), ' '));
            shownLength = line.size();
        } else {
            writeText(stderr, "makeframes: " + line + "\n");
        }
    }
    // Clears a line rewritten in place before other text is written.
    void finish()
    {
        if (shown && terminal && !quiet)
            writeText(stderr, "\r" + std::string(shownLength + 12, ' ') + "\r");
        shown = false;
        shownLength = 0;
    }
};

} // namespace

int main(int argc, char** argv)
{
    ConsoleOptions options;
    options.run.codePage = defaultCodePage();
    options.run.refuseLostLetters = true;
    options.run.memoryBytes = defaultMemoryBytes(physicalMemoryBytes());
    if (const int status = parseOptions(commandLineArguments(argc, argv), options))
        return status;
    if (options.help) {
        writeText(stdout, makeFramesHelp());
        return 0;
    }

    static std::atomic<bool> cancel{false};
    watchForInterrupts(cancel);

    Progress progress;
    progress.quiet = options.quiet;
    progress.terminal = standardErrorIsConsole();
    MakeEvents events;
    events.progress = [&progress](const std::string& phase, double fraction) { progress.show(phase, fraction); };
    events.report = [&progress](const std::string& line) {
        progress.finish();
        writeText(stdout, line + "\n");
    };
    events.warning = [&progress](const std::string& line) {
        progress.finish();
        writeText(stderr, "makeframes: " + line + "\n");
    };
    events.readStandardInput = [](char* buffer, size_t size) { return readStandardInput(buffer, size, cancel); };

    int status = 1;
    try {
        runMakeFrames(options.run, events, cancel);
        status = 0;
    } catch (const std::bad_alloc&) {
        progress.finish();
        writeText(stderr, "makeframes: out of memory; try a smaller -mem\n");
    } catch (const MakeCancelled&) {
        progress.finish();
        writeText(stderr, "makeframes: interrupted\n");
    } catch (const LettersLost& refused) {
        progress.finish();
        writeText(stderr, std::string("makeframes: ") + refused.what() + "\n");
        status = lettersLostStatus;
    } catch (const std::exception& error) {
        progress.finish();
        writeText(stderr, std::string("makeframes: ") + (cancel.load() ? "interrupted" : error.what()) + "\n");
    }
    interruptHandled();
    return status;
}
