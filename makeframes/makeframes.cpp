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
// outprefix-3-Alpha-phraseFrames.txt and so on.
// Each file is written under a temporary name and renamed when complete.
//
// Words, sentences and the conversion of UTF-8 and UTF-16 are described in
// makeframes/corpustext.h, frames and the file format in
// makeframes/framebuild.h.
#include "common/core/numbertext.h"
#include "makeframes/core/corpustext.h"
#include "makeframes/core/framebuild.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

volatile std::sig_atomic_t interruptedBy = 0;

void onSignal(int signalNumber)
{
    interruptedBy = signalNumber;
}

struct Options {
    int minLength = 4;
    int maxLength = 4;
    uint64_t minFrequency = 2;
    uint64_t minVariants = 2;
    uint64_t minRange = 1;
    bool innerSlotsOnly = false;
    bool keepCase = false;
    bool quiet = false;
    uint64_t memoryBytes = uint64_t(1) << 30;
    std::vector<std::string> inputs;
    std::string prefix;
};

int usage(const char* problem)
{
    if (problem != nullptr)
        std::fprintf(stderr, "makeframes: %s\n", problem);
    std::fprintf(stderr,
                 "usage: makeframes [options] input... outprefix\n"
                 "  input         a text file, a folder (read recursively) or - for standard input\n"
                 "  -n N          n-gram length, 2 to 10, or a range such as 3-5 (default 4)\n"
                 "  -min F        keep frames that occur at least F times (default 2)\n"
                 "  -minvar V     keep frames with at least V different variants (default 2)\n"
                 "  -minrange R   keep frames that occur in at least R input files (default 1)\n"
                 "  -slots inner  only frames whose slot is not the first or last word\n"
                 "  -keepcase     keep letter case (words are lower-cased otherwise)\n"
                 "  -mem SIZE     memory to use, such as 512M or 2G (default 1G); beyond it\n"
                 "                sorted runs go to a temporary folder beside the output\n"
                 "  -q            no progress on standard error\n"
                 "writes outprefix-Alpha-phraseFrames.txt and outprefix-Freq-phraseFrames.txt\n"
                 "(outprefix-N-Alpha-phraseFrames.txt ... for each length of a range)\n");
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

// Returns 0 when the options are good, else the exit status after a message.
int parseOptions(int argc, char** argv, Options& options)
{
    std::vector<std::string> names;
    for (int a = 1; a < argc; ++a) {
        const std::string arg = argv[a];
        const bool hasValue = a + 1 < argc;
        if (arg == "-n" || arg == "-min" || arg == "-minvar" || arg == "-minrange" || arg == "-slots" ||
            arg == "-mem") {
            if (!hasValue)
                return usage((arg + " needs a value").c_str());
            const std::string value = argv[++a];
            bool good = true;
            if (arg == "-n")
                good = readLengths(value, options.minLength, options.maxLength);
            else if (arg == "-min")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.minFrequency);
            else if (arg == "-minvar")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.minVariants);
            else if (arg == "-minrange")
                good = readCount(value.c_str(), 1, UINT32_MAX, options.minRange);
            else if (arg == "-slots")
                good = value == "inner" || value == "all", options.innerSlotsOnly = value == "inner";
            else
                good = readSize(value, options.memoryBytes);
            if (!good)
                return usage(("bad value for " + arg + ": " + value).c_str());
        } else if (arg == "-keepcase") {
            options.keepCase = true;
        } else if (arg == "-q") {
            options.quiet = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usage(("unknown option " + arg).c_str());
        } else {
            names.push_back(arg);
        }
    }
    if (names.size() < 2)
        return usage("needs at least one input and the output prefix");
    if (options.innerSlotsOnly && options.minLength < 3)
        return usage("-slots inner needs n-grams of at least 3 words");
    options.prefix = names.back();
    names.pop_back();
    options.inputs = names;
    if (std::count(names.begin(), names.end(), std::string("-")) > 1)
        return usage("standard input (-) can be read only once");
    return 0;
}

// Progress on standard error: nothing in the first second, then a line now
// and then (rewritten in place on a terminal).
struct Progress {
    bool quiet = false;
    bool terminal = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastShown = started;
    bool shown = false;

    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    }
    void show(const std::string& text)
    {
        if (interruptedBy != 0)
            throw std::runtime_error("interrupted");
        if (quiet)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - started < std::chrono::seconds(1))
            return;
        if (shown && now - lastShown < std::chrono::milliseconds(terminal ? 250 : 5000))
            return;
        lastShown = now;
        shown = true;
        if (terminal)
            std::fprintf(stderr, "\rmakeframes: %-70s", text.c_str());
        else
            std::fprintf(stderr, "makeframes: %s\n", text.c_str());
    }
    void finish()
    {
        if (shown && terminal && !quiet)
            std::fprintf(stderr, "\r%-82s\r", "");
        shown = false;
    }
};

// Everything temporary: the scratch folder and the output files not yet
// renamed. Removed on every way out but a hard kill.
struct Cleanup {
    std::string scratch;
    std::vector<std::string> partial;
    ~Cleanup()
    {
        for (const std::string& name : partial)
            std::remove(name.c_str());
        if (!scratch.empty()) {
            std::error_code ignored;
            fs::remove_all(scratch, ignored);
        }
    }
};

struct InputFile {
    std::string name; // "-" for standard input
};

// The files to read, folders expanded in sorted name order.
std::vector<InputFile> listInputs(const std::vector<std::string>& inputs)
{
    std::vector<InputFile> files;
    for (const std::string& input : inputs) {
        if (input == "-") {
            files.push_back({input});
            continue;
        }
        std::error_code error;
        const fs::file_status status = fs::status(input, error);
        if (error || !fs::exists(status))
            throw std::runtime_error("cannot read " + input + ": " + (error ? error.message() : "no such file"));
        if (!fs::is_directory(status)) {
            files.push_back({input});
            continue;
        }
        std::vector<std::string> found;
        fs::recursive_directory_iterator walk(input, error), end;
        for (; !error && walk != end; walk.increment(error)) {
            std::error_code typeError;
            if (walk->is_regular_file(typeError))
                found.push_back(walk->path().string());
        }
        if (error)
            throw std::runtime_error("cannot read folder " + input + ": " + error.message());
        std::sort(found.begin(), found.end());
        for (std::string& name : found)
            files.push_back({std::move(name)});
    }
    return files;
}

// Reads one input into the corpus. False when it is not text (skipped).
// `place` says which input this is ("file 3 of 500") in the progress lines.
bool readInput(const InputFile& input, CorpusReader& corpus, Progress& progress, const std::string& place)
{
    const bool standardInput = input.name == "-";
    const int fd = standardInput ? 0 : ::open(input.name.c_str(), O_RDONLY);
    if (fd < 0)
        throw std::runtime_error("cannot read " + input.name + ": " + std::strerror(errno));
    struct CloseAtEnd {
        int fd;
        bool close;
        ~CloseAtEnd()
        {
            if (close)
                ::close(fd);
        }
    } closeAtEnd{fd, !standardInput};

    std::vector<char> buffer(1 << 20);
    const std::string shownName = standardInput ? "standard input" : input.name;
    // Fills from `from` to the end of the buffer or of the file; the bytes read.
    auto fill = [&]() {
        size_t got = 0;
        while (got < buffer.size()) {
            // A signal that comes just before read() starts must not leave
            // it waiting for a pipe: wait in short steps, looking at the flag.
            pollfd ready{fd, POLLIN, 0};
            while (interruptedBy == 0 && ::poll(&ready, 1, 200) == 0)
                ;
            if (interruptedBy != 0)
                throw std::runtime_error("interrupted");
            const ssize_t n = ::read(fd, buffer.data() + got, buffer.size() - got);
            if (n < 0) {
                if (errno == EINTR && interruptedBy == 0)
                    continue;
                if (interruptedBy != 0)
                    throw std::runtime_error("interrupted");
                throw std::runtime_error("cannot read " + shownName + ": " + std::strerror(errno));
            }
            if (n == 0)
                break;
            got += static_cast<size_t>(n);
            if (got >= textCheckBytes)
                break; // enough to tell the kind
        }
        return got;
    };

    size_t size = fill();
    bool atEnd = size < textCheckBytes;
    const TextKind kind = classifyText(buffer.data(), std::min(size, textCheckBytes), atEnd);
    if (kind == textBinary) {
        std::fprintf(stderr, "makeframes: skipping %s: not a text file (it holds NUL bytes)\n", shownName.c_str());
        return false;
    }
    corpus.beginFile(kind);
    while (size > 0) {
        corpus.addBytes(buffer.data(), size);
        progress.show("reading " + place + ", " + formatThousands(static_cast<int64_t>(corpus.wordCount)) +
                      " words so far");
        size = atEnd ? 0 : fill();
        if (size == 0)
            break;
        atEnd = false;
    }
    corpus.endFile();
    return true;
}

std::string outputName(const Options& options, int length, const char* order)
{
    std::string name = options.prefix + "-";
    if (options.minLength != options.maxLength)
        name += std::to_string(length) + "-";
    return name + order + "-phraseFrames.txt";
}

// A file named twice, or also found in a folder named, is read once. This
// run's own output files, left in a folder being read by an earlier run, are
// not read at all: they are no part of the corpus, and the run replaces them.
// Each file left out is said on standard error and counted in `skipped`.
std::vector<InputFile> withoutRepeatsOrOutputs(const std::vector<InputFile>& files, const Options& options,
                                               uint64_t& skipped)
{
    using Identity = std::pair<dev_t, ino_t>;
    const auto identify = [](const std::string& name, Identity& identity) {
        struct stat facts {};
        if (::stat(name.c_str(), &facts) != 0)
            return false;
        identity = {facts.st_dev, facts.st_ino};
        return true;
    };
    std::map<Identity, std::string> outputs;
    for (int length = options.minLength; length <= options.maxLength; ++length)
        for (const char* order : {"Alpha", "Freq"})
            for (const char* ending : {"", ".partial"}) {
                const std::string name = outputName(options, length, order) + ending;
                Identity identity;
                if (identify(name, identity))
                    outputs.emplace(identity, name);
            }
    std::map<Identity, std::string> seen;
    std::vector<InputFile> kept;
    for (const InputFile& file : files) {
        Identity identity;
        // Standard input, and a file that cannot be looked at (reading it
        // says why), are kept.
        if (file.name == "-" || !identify(file.name, identity)) {
            kept.push_back(file);
            continue;
        }
        if (outputs.count(identity) != 0) {
            std::fprintf(stderr, "makeframes: skipping %s: it is an output file of this run\n", file.name.c_str());
            ++skipped;
            continue;
        }
        const auto [first, isNew] = seen.emplace(identity, file.name);
        if (!isNew) {
            std::fprintf(stderr, "makeframes: skipping %s: already read as %s\n", file.name.c_str(),
                         first->second.c_str());
            ++skipped;
            continue;
        }
        kept.push_back(file);
    }
    return kept;
}

std::string plural(uint64_t count, const char* one, const char* many)
{
    return formatThousands(static_cast<int64_t>(count)) + " " + (count == 1 ? one : many);
}

int run(const Options& options)
{
    Progress progress;
    progress.quiet = options.quiet;
    progress.terminal = isatty(2) != 0;
    Cleanup cleanup;

    uint64_t filesSkipped = 0;
    const std::vector<InputFile> inputs = withoutRepeatsOrOutputs(listInputs(options.inputs), options, filesSkipped);

    // The scratch folder beside the output: runs and the word stream.
    fs::path outputFolder = fs::path(options.prefix).parent_path();
    if (outputFolder.empty())
        outputFolder = ".";
    std::string scratchTemplate = (outputFolder / ".makeframes-XXXXXX").string();
    if (::mkdtemp(&scratchTemplate[0]) == nullptr)
        throw std::runtime_error("cannot create a temporary folder in " + outputFolder.string() + ": " +
                                 std::strerror(errno));
    cleanup.scratch = scratchTemplate;

    CorpusReader corpus;
    corpus.keepCase = options.keepCase;
    corpus.stream.memoryLimit = static_cast<size_t>(std::max<uint64_t>(options.memoryBytes / 16 / sizeof(uint32_t), 1024));
    corpus.stream.spillName = cleanup.scratch + "/words";

    uint64_t filesRead = 0;
    for (size_t k = 0; k < inputs.size(); ++k) {
        const InputFile& input = inputs[k];
        const std::string place = "file " + formatThousands(static_cast<int64_t>(k + 1)) + " of " +
                                  formatThousands(static_cast<int64_t>(inputs.size()));
        if (readInput(input, corpus, progress, place))
            ++filesRead;
        else
            ++filesSkipped;
    }
    corpus.stream.finish();
    progress.finish();
    if (filesRead == 0)
        throw std::runtime_error("no text file among the inputs");

    std::printf("read %s (%s skipped), %s, %s in %.1f s\n", plural(filesRead, "file", "files").c_str(),
                formatThousands(static_cast<int64_t>(filesSkipped)).c_str(),
                plural(corpus.wordCount, "word", "words").c_str(),
                plural(corpus.sentenceCount, "sentence", "sentences").c_str(), progress.seconds());
    if (corpus.unmappedCount > 0)
        std::printf("%s without a code page 1252 form (written as ? within words)\n",
                    plural(corpus.unmappedCount, "character", "characters").c_str());
    std::fflush(stdout);

    const RankedWords ranked = rankWords(corpus);
    for (int length = options.minLength; length <= options.maxLength; ++length) {
        const double started = progress.seconds();
        const std::string alphaName = outputName(options, length, "Alpha");
        const std::string freqName = outputName(options, length, "Freq");
        const std::string alphaPartial = alphaName + ".partial";
        const std::string freqPartial = freqName + ".partial";
        cleanup.partial = {alphaPartial, freqPartial};

        FrameSettings settings;
        settings.length = length;
        settings.minFrequency = options.minFrequency;
        settings.minVariants = options.minVariants;
        settings.minRange = options.minRange;
        settings.innerSlotsOnly = options.innerSlotsOnly;
        settings.memoryBytes = options.memoryBytes;
        settings.scratchFolder = cleanup.scratch;
        settings.progress = [&progress, length](const char* phase, double fraction) {
            char text[120];
            std::snprintf(text, sizeof text, "%d-grams: %s %3.0f%%", length, phase,
                          100.0 * std::min(1.0, std::max(0.0, fraction)));
            progress.show(text);
        };
        const FrameCounts counts = writeFrameFiles(corpus, ranked, settings, alphaPartial, freqPartial);
        progress.show("renaming");
        if (std::rename(alphaPartial.c_str(), alphaName.c_str()) != 0)
            throw std::runtime_error("cannot rename " + alphaPartial + " to " + alphaName + ": " +
                                     std::strerror(errno));
        if (std::rename(freqPartial.c_str(), freqName.c_str()) != 0) {
            const std::string why = std::strerror(errno);
            std::remove(alphaName.c_str());
            throw std::runtime_error("cannot rename " + freqPartial + " to " + freqName + ": " + why);
        }
        cleanup.partial.clear();
        progress.finish();
        std::printf("%d-grams: %s, %s with %s%s in %.1f s: %s and %s\n", length,
                    plural(counts.ngrams, "n-gram", "n-grams").c_str(),
                    plural(counts.frames, "frame", "frames").c_str(),
                    plural(counts.variants, "variant", "variants").c_str(),
                    counts.spilled ? " (sorted on disk)" : "", progress.seconds() - started, alphaName.c_str(),
                    freqName.c_str());
        std::fflush(stdout);
    }
    std::printf("done in %.1f s\n", progress.seconds());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const int status = parseOptions(argc, argv, options))
        return status;

    // The first signal stops the run at the next check and cleans up; a
    // second one ends the process at once.
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
    // A file size limit then fails the write like a full disk instead of
    // killing the process.
    std::signal(SIGXFSZ, SIG_IGN);

    try {
        return run(options);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "makeframes: out of memory; try a smaller -mem\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "makeframes: %s\n", interruptedBy != 0 ? "interrupted" : error.what());
    }
    return 1;
}
