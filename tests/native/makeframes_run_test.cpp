// The real makeframes program: inputs, names, errors and interruptions.
#include "common/core/corpusformat.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

void writeFile(const std::string& name, const std::string& text)
{
    fs::create_directories(fs::path(name).parent_path());
    std::ofstream(name, std::ios::binary) << text;
}

struct Result {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

// Starts the tool with stdin from a pipe; the caller writes and waits.
pid_t start(const ScratchFolder& folder, const std::vector<std::string>& args, int& stdinWrite, rlim_t fileSizeLimit = 0)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[0], 0);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        const int out = open((folder / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open((folder / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        dup2(err, 2);
        if (fileSizeLimit != 0) {
            rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(CORVALE_MAKEFRAMES_EXE));
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[0]);
    stdinWrite = pipeEnds[1];
    return child;
}

Result finish(const ScratchFolder& folder, pid_t child)
{
    Result result;
    int status = 0;
    if (waitpid(child, &status, 0) == child)
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = readAll(folder / "stdout");
    result.err = readAll(folder / "stderr");
    fs::remove(folder / "stdout");
    fs::remove(folder / "stderr");
    return result;
}

Result runTool(const ScratchFolder& folder, const std::vector<std::string>& args, const std::string& input = "",
               rlim_t fileSizeLimit = 0)
{
    int stdinWrite = -1;
    const pid_t child = start(folder, args, stdinWrite, fileSizeLimit);
    if (!input.empty() && write(stdinWrite, input.data(), input.size()) != ssize_t(input.size()))
        ADD_FAILURE() << "cannot write to the tool";
    close(stdinWrite);
    return finish(folder, child);
}

// The names in the folder, sorted (the tool's own stdout/stderr excluded).
std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name != "stdout" && name != "stderr")
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The name of a scratch folder of output "out" that appeared in the folder
// other than `known`, once it is there.
std::string newScratch(const ScratchFolder& folder, const std::string& known)
{
    for (int wait = 0; wait < 3000; ++wait) {
        for (const std::string& name : namesIn(folder.path))
            if (name.rfind(".makeframes-out-", 0) == 0 && name != known)
                return name;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::string();
}

const char* const sampleText = "At the end of the day we went home. At the end of it all we rested.\n"
                               "At the start of the day I slept. At the end of the week we left.\n";

} // namespace

TEST(MakeframesRun, FoldersFilesAndStandardInputSkippingFilesThatAreNotText)
{
    ScratchFolder folder;
    writeFile(folder / "corpus/b.txt", sampleText);
    writeFile(folder / "corpus/sub/a.txt", "At the end of the road.");
    writeFile(folder / "corpus/picture.png", std::string("\x89PNG\0\0\0", 7));
    writeFile(folder / "single.txt", "At the end of the line.");
    // UTF-16 (little-endian, with its mark) holds NUL bytes and is text.
    std::string utf16 = "\xff\xfe";
    for (char c : std::string("At the end of the story."))
        utf16 += std::string(1, c) + '\0';
    writeFile(folder / "corpus/c-utf16.txt", utf16);
    const Result result =
        runTool(folder, {"-q", "-mem", "64M", folder / "corpus", folder / "single.txt", "-", folder / "out"}, "At the end of time.");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.err.find("skipping " + (folder / "corpus/picture.png") + ": not a text file"), std::string::npos)
        << result.err;
    EXPECT_NE(result.out.find("read 5 files (1 skipped)"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("4-grams:"), std::string::npos) << result.out;
    const std::string alpha = readAll(folder / "out-Alpha-phraseFrames.txt");
    // "at the end of" comes from every input: five files and standard input.
    EXPECT_NE(alpha.find("the end of *\t7\t"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("\nend of the story\t1\r\n"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("the end of time\t1\r\n"), std::string::npos) << alpha;
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"corpus", "out-Alpha-phraseFrames.txt", "out-Corpus.txt",
                                                               "out-Freq-phraseFrames.txt", "single.txt"}));
    // The record of the corpus: each file read, in reading order, with its
    // words and sentences; the picture, not read, is not in it.
    CorpusRecord record;
    ASSERT_EQ(readCorpusText(readAll(folder / "out-Corpus.txt"), record), "");
    const struct {
        std::string name;
        uint64_t words, sentences;
    } read[] = {{folder / "corpus/b.txt", 33, 4},    {folder / "corpus/c-utf16.txt", 6, 1},
                {folder / "corpus/sub/a.txt", 6, 1}, {folder / "single.txt", 6, 1},
                {"-", 5, 1}};
    ASSERT_EQ(record.inputs.size(), 5u);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(record.inputs[k].givenName, read[k].name);
        EXPECT_EQ(record.inputs[k].fullPath, read[k].name); // the folder's name is a full one
        EXPECT_EQ(record.inputs[k].words, read[k].words) << read[k].name;
        EXPECT_EQ(record.inputs[k].sentences, read[k].sentences) << read[k].name;
    }
    EXPECT_EQ(record.words, 56u);
    EXPECT_EQ(record.sentences, 8u);
    EXPECT_EQ(record.codePage, 1252);
    ASSERT_EQ(record.options.size(), 9u);
    EXPECT_EQ(record.options[0].name + "=" + record.options[0].value, "n=4");
}

// Run twice with the output inside the corpus folder, and with a file of
// the folder also named: each text is counted once, the old output never.
TEST(MakeframesRun, EachFileIsReadOnceAndTheRunsOwnOutputNever)
{
    ScratchFolder folder;
    writeFile(folder / "corpus/a.txt", sampleText);
    const std::vector<std::string> args = {"-q", "-mem", "64M", folder / "corpus", folder / "corpus/a.txt",
                                           folder / "corpus/out"};
    const Result first = runTool(folder, args);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "makeframes: skipping " + (folder / "corpus/a.txt") + ": already read as " +
                             (folder / "corpus/a.txt") + "\n");
    EXPECT_NE(first.out.find("read 1 file (1 skipped)"), std::string::npos) << first.out;
    const std::string alpha = readAll(folder / "corpus/out-Alpha-phraseFrames.txt");
    EXPECT_NE(alpha.find("the end of *\t3\t"), std::string::npos) << alpha;

    const Result second = runTool(folder, args);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.err.find("skipping " + (folder / "corpus/out-Alpha-phraseFrames.txt") +
                              ": it is an output file of this run"),
              std::string::npos)
        << second.err;
    EXPECT_NE(second.err.find("skipping " + (folder / "corpus/out-Freq-phraseFrames.txt") +
                              ": it is an output file of this run"),
              std::string::npos)
        << second.err;
    EXPECT_NE(second.out.find("read 1 file (4 skipped)"), std::string::npos) << second.out;
    EXPECT_EQ(readAll(folder / "corpus/out-Alpha-phraseFrames.txt"), alpha);
}

TEST(MakeframesRun, ARangeOfLengthsWritesAPairPerLength)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    const Result result = runTool(folder, {"-n", "2-4", "-q", "-mem", "64M", folder / "in.txt", folder / "out"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(namesIn(folder.path),
              (std::vector<std::string>{"in.txt", "out-2-Alpha-phraseFrames.txt", "out-2-Corpus.txt",
                                        "out-2-Freq-phraseFrames.txt", "out-3-Alpha-phraseFrames.txt",
                                        "out-3-Corpus.txt", "out-3-Freq-phraseFrames.txt",
                                        "out-4-Alpha-phraseFrames.txt", "out-4-Corpus.txt",
                                        "out-4-Freq-phraseFrames.txt"}));
    EXPECT_NE(readAll(folder / "out-3-Alpha-phraseFrames.txt").find("at the *\t4\t2\r\n"), std::string::npos);
}

TEST(MakeframesRun, NgramListsAndStatisticsForEachLength)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    const Result result = runTool(folder, {"-n", "3-4", "-ngrams", "-stats", "-q", folder / "in.txt", folder / "out"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(namesIn(folder.path),
              (std::vector<std::string>{"in.txt", "out-3-Alpha-phraseFrames.txt", "out-3-Corpus.txt",
                                        "out-3-Freq-phraseFrames.txt", "out-3-Ngrams.txt", "out-3-Stats.txt",
                                        "out-4-Alpha-phraseFrames.txt", "out-4-Corpus.txt",
                                        "out-4-Freq-phraseFrames.txt", "out-4-Ngrams.txt", "out-4-Stats.txt"}));
    EXPECT_EQ(readAll(folder / "out-4-Ngrams.txt").substr(0, 35), "at the end of\t3\r\nthe end of the\t2\r\n");
    EXPECT_NE(result.out.find(": " + (folder / "out-4-Alpha-phraseFrames.txt") + ", " +
                              (folder / "out-4-Freq-phraseFrames.txt") + ", " + (folder / "out-4-Ngrams.txt") +
                              ", " + (folder / "out-4-Stats.txt") + " and " + (folder / "out-4-Corpus.txt") + "\n"),
              std::string::npos)
        << result.out;
    // A run on a folder that holds them reads none of them as corpus.
    writeFile(folder / "corpus/in.txt", sampleText);
    for (const std::string& name : namesIn(folder.path))
        if (name.rfind("out-", 0) == 0)
            fs::rename(folder / name, folder / ("corpus/" + name));
    const Result again = runTool(folder, {"-n", "3-4", "-q", folder / "corpus", folder / "corpus/out"});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("read 1 file (10 skipped)"), std::string::npos) << again.out;
}

// The option reaches the reader; split, the default, may be said too.
TEST(MakeframesRun, HyphensJoinOrSplit)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", "A so-called test. The so-called test.\n");
    for (const std::vector<std::string>& hyphens : {std::vector<std::string>{},
                                                     std::vector<std::string>{"-hyphens", "split"},
                                                     std::vector<std::string>{"-hyphens", "join"}}) {
        std::vector<std::string> args = {"-q", "-n", "2", "-min", "1", "-minvar", "1", "-ngrams"};
        args.insert(args.end(), hyphens.begin(), hyphens.end());
        args.insert(args.end(), {folder / "in.txt", folder / "out"});
        const Result result = runTool(folder, args);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(readAll(folder / "out-Ngrams.txt").substr(0, 18),
                  hyphens.size() == 2 && hyphens[1] == "join" ? "so-called test\t2\r\n" : "called test\t2\r\nso ")
            << (hyphens.empty() ? "default" : hyphens[1]);
    }
}

TEST(MakeframesRun, BadOptionsAndUnreadableInputsFailWithoutOutput)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"-n", "1", folder / "in.txt", folder / "out"}, 2, "bad value for -n: 1"},
        {{"-n", "5-3", folder / "in.txt", folder / "out"}, 2, "bad value for -n: 5-3"},
        {{"-n", "11", folder / "in.txt", folder / "out"}, 2, "bad value for -n"},
        {{"-min", "0", folder / "in.txt", folder / "out"}, 2, "bad value for -min: 0"},
        {{"-minvar", "x", folder / "in.txt", folder / "out"}, 2, "bad value for -minvar"},
        {{"-mem", "12Q", folder / "in.txt", folder / "out"}, 2, "bad value for -mem"},
        {{"-slots", "outer", folder / "in.txt", folder / "out"}, 2, "bad value for -slots"},
        {{"-hyphens", "joined", folder / "in.txt", folder / "out"}, 2, "bad value for -hyphens: joined"},
        {{"-n", "2", "-slots", "inner", folder / "in.txt", folder / "out"}, 2, "-slots inner needs"},
        {{"-frobnicate", folder / "in.txt", folder / "out"}, 2, "unknown option -frobnicate"},
        {{"-ngram", folder / "in.txt", folder / "out"}, 2, "unknown option -ngram: did you mean -ngrams?"},
        {{"-codepage", "437", folder / "in.txt", folder / "out"}, 2, "bad value for -codepage: 437"},
        {{"-codepage", folder / "in.txt", folder / "out"}, 2, "bad value for -codepage"},
        {{folder / "out"}, 2, "needs at least one input"},
        {{"-", "-", folder / "out"}, 2, "standard input (-) can be read only once"},
        {{folder / "missing.txt", folder / "out"}, 1, "cannot read " + (folder / "missing.txt")},
        {{folder / "in.txt", folder / "no/such/folder/out"}, 1,
         "makeframes: the output folder " + (folder / "no/such/folder") + " does not exist\n"},
    };
    for (const auto& c : cases) {
        const Result result = runTool(folder, c.args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"in.txt"}) << c.message;
    }
    // A folder without text is an error too.
    writeFile(folder / "empty/data.bin", std::string("\0\1", 2));
    const Result result = runTool(folder, {folder / "empty", folder / "out"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("no text file among the inputs"), std::string::npos) << result.err;
}

// A file size limit makes a write fail as a full disk would: of an output
// file, and with the least memory bound (16 MB), of the word stream spilled
// to the scratch folder (the corpus has more than its 262,144 words).
TEST(MakeframesRun, AFailedWriteLeavesNoFileBehind)
{
    ScratchFolder folder;
    std::string text;
    for (int k = 0; k < 50000; ++k)
        text += "At the end of day " + std::to_string(k % 400) + ". ";
    writeFile(folder / "in.txt", text);
    for (const char* memory : {"64M", "1"}) {
        const Result result = runTool(folder, {"-q", "-mem", memory, folder / "in.txt", folder / "out"}, "", 3000);
        EXPECT_EQ(result.status, 1) << memory;
        EXPECT_NE(result.err.find(memory[0] == '1' ? "cannot write temporary file" : "cannot write"), std::string::npos)
            << result.err;
        EXPECT_EQ(namesIn(folder.path), std::vector<std::string>{"in.txt"}) << memory;
    }
    const Result fits = runTool(folder, {"-q", "-mem", "64M", folder / "in.txt", folder / "out"});
    EXPECT_EQ(fits.status, 0) << fits.err;
}

// The tool is stopped while it waits for the rest of standard input, after it
// has made its temporary folder.
TEST(MakeframesRun, AnInterruptedRunLeavesNoFileUnderAFinalName)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGKILL}) {
        ScratchFolder folder;
        int stdinWrite = -1;
        const pid_t child = start(folder, {"-q", "-mem", "64M", "-", folder / "out"}, stdinWrite);
        ASSERT_GT(child, 0);
        ASSERT_EQ(write(stdinWrite, sampleText, std::strlen(sampleText)), ssize_t(std::strlen(sampleText)));
        bool started = false;
        for (int wait = 0; wait < 3000 && !started; ++wait) {
            for (const std::string& name : namesIn(folder.path))
                started = started || name.rfind(".makeframes-", 0) == 0;
            if (!started)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(started);
        kill(child, signalNumber);
        const Result result = finish(folder, child);
        close(stdinWrite);
        EXPECT_NE(result.status, 0);
        const std::vector<std::string> left = namesIn(folder.path);
        for (const std::string& name : left)
            EXPECT_EQ(name.find("phraseFrames.txt"), std::string::npos) << name;
        if (signalNumber != SIGKILL) {
            EXPECT_TRUE(left.empty()) << left.front();
            EXPECT_NE(result.err.find("makeframes: interrupted"), std::string::npos) << result.err;
        }
    }
}

// What a killed run left beside its output goes with the next run of that
// output, which says so; another output's leftovers and the user's own files
// stay.
TEST(MakeframesRun, TheNextRunRemovesWhatAKilledRunOfItsOutputLeft)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    // A run of this output killed part way.
    int killedInput = -1;
    const pid_t killed = start(folder, {"-q", "-n", "3-4", "-", folder / "out"}, killedInput);
    const std::string killedScratch = newScratch(folder, "");
    ASSERT_FALSE(killedScratch.empty());
    kill(killed, SIGKILL);
    finish(folder, killed);
    close(killedInput);
    writeFile(folder / "out-5-Freq-phraseFrames.txt.partial", "half");
    writeFile(folder / "out-b-Alpha-phraseFrames.txt.partial", "another output's");
    writeFile(folder / "out-notes.txt", "mine");

    const Result next = runTool(folder, {"-q", folder / "in.txt", folder / "out"});
    EXPECT_EQ(next.status, 0) << next.err;
    EXPECT_EQ(next.err, "makeframes: removed what an unfinished earlier run left: " +
                            (folder / "out-5-Freq-phraseFrames.txt.partial") + " and " + (folder / killedScratch) +
                            "\n");
    EXPECT_EQ(namesIn(folder.path),
              (std::vector<std::string>{"in.txt", "out-Alpha-phraseFrames.txt", "out-Corpus.txt",
                                        "out-Freq-phraseFrames.txt", "out-b-Alpha-phraseFrames.txt.partial",
                                        "out-notes.txt"}));
}

// A second run to an output a live run is writing refuses, names the live
// one, and touches none of its files; the live run ends as if alone.
TEST(MakeframesRun, ASecondRunToALiveRunsOutputRefuses)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", "Another text entirely, read by the second run.");
    ScratchFolder liveOutput;
    int liveInput = -1;
    const pid_t live = start(liveOutput, {"-q", "-ngrams", "-", folder / "out"}, liveInput);
    const std::string liveScratch = newScratch(folder, "");
    ASSERT_FALSE(liveScratch.empty());
    const std::vector<std::string> before = namesIn(folder.path);

    const Result second = runTool(folder, {"-q", "-stats", folder / "in.txt", folder / "out"});
    EXPECT_EQ(second.status, 1);
    EXPECT_EQ(second.err.find("makeframes: another run is writing " + (folder / "out") + " (process " +
                              std::to_string(live) + ", started "),
              0u)
        << second.err;
    EXPECT_NE(second.err.find("): wait for it to end, or choose another output name\n"), std::string::npos)
        << second.err;
    EXPECT_EQ(namesIn(folder.path), before);

    ASSERT_EQ(write(liveInput, sampleText, std::strlen(sampleText)), ssize_t(std::strlen(sampleText)));
    close(liveInput);
    const Result lived = finish(liveOutput, live);
    EXPECT_EQ(lived.status, 0) << lived.err;
    EXPECT_EQ(lived.err, "");
    EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"in.txt", "out-Alpha-phraseFrames.txt", "out-Corpus.txt",
                                                               "out-Freq-phraseFrames.txt", "out-Ngrams.txt"}));
    EXPECT_EQ(readAll(folder / "out-Ngrams.txt").substr(0, 17), "at the end of\t3\r\n");
}

// A run that fails at its last length replaces none of the files an earlier
// run made, not even those of the lengths it finished.
TEST(MakeframesRun, AFailureAtTheLastLengthKeepsEveryEarlierFile)
{
    ScratchFolder folder;
    std::string text;
    for (int k = 0; k < 800; ++k)
        text += "At the end of day " + std::to_string(k % 400) + ". ";
    writeFile(folder / "in.txt", text);
    const Result first = runTool(folder, {"-q", "-n", "2-3", folder / "in.txt", folder / "out"});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::vector<std::string> made = {"out-2-Alpha-phraseFrames.txt", "out-2-Corpus.txt",
                                           "out-2-Freq-phraseFrames.txt", "out-3-Alpha-phraseFrames.txt",
                                           "out-3-Corpus.txt", "out-3-Freq-phraseFrames.txt"};
    for (const std::string& name : made)
        writeFile(folder / name, "earlier " + name);
    // The 3-gram files are larger than the 2-gram ones: a limit between the
    // two (4,305 and 5,508 bytes) lets the first length through and stops
    // the second.
    const Result failed =
        runTool(folder, {"-q", "-n", "2-3", "-mem", "64M", folder / "in.txt", folder / "out"}, "", 5000);
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("cannot write " + (folder / "out-3-"), 0), std::string::npos) << failed.err;
    std::vector<std::string> expected = made;
    expected.insert(expected.begin(), "in.txt");
    EXPECT_EQ(namesIn(folder.path), expected);
    for (const std::string& name : made)
        EXPECT_EQ(readAll(folder / name), "earlier " + name);
}

// A run killed between its renames (the system stops it at the Nth rename:
// the earlier files are moved aside one by one, then the new ones put in
// place) leaves a mixed set or none; the next run of the output puts the
// earlier files back and says so, even one that then fails.
TEST(MakeframesRun, ARunStoppedAmongItsRenamesIsUndoneByTheNextRun)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    writeFile(folder / "new.txt", "At the start of a new text. At the start of a new day.");
    const std::string alpha = folder / "out-Alpha-phraseFrames.txt";
    const std::string freq = folder / "out-Freq-phraseFrames.txt";
    const Result first = runTool(folder, {"-q", folder / "in.txt", folder / "out"});
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string earlierAlpha = readAll(alpha);
    const std::string earlierFreq = readAll(freq);
    const std::string corpus = folder / "out-Corpus.txt";
    const std::string alphaPartial = alpha + ".partial";
    const std::string freqPartial = freq + ".partial";
    const std::string corpusPartial = corpus + ".partial";
    const struct {
        int rename;
        std::string putBack;
        std::string partials; // those not yet renamed
    } cases[] = {
        {2, alpha, alphaPartial + ", " + freqPartial + ", " + corpusPartial},
        {3, alpha + " and " + freq, alphaPartial + ", " + freqPartial + ", " + corpusPartial},
        {5, alpha + ", " + freq + " and " + corpus, freqPartial + ", " + corpusPartial},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("stopped at rename " + std::to_string(c.rename));
        const std::string command = "strace -f -qq -o /dev/null -e inject=rename:signal=KILL:when=" +
                                    std::to_string(c.rename) + " " + CORVALE_MAKEFRAMES_EXE + " -q '" +
                                    (folder / "new.txt") + "' '" + (folder / "out") + "' >/dev/null 2>&1";
        ASSERT_NE(std::system(command.c_str()), 0);
        const std::string scratch = newScratch(folder, "");
        ASSERT_FALSE(scratch.empty());

        const Result next = runTool(folder, {"-q", folder / "missing.txt", folder / "out"});
        EXPECT_EQ(next.status, 1);
        EXPECT_EQ(next.err.find("makeframes: put back the files an unfinished earlier run was replacing: " +
                                c.putBack + "\nmakeframes: removed what an unfinished earlier run left: " +
                                c.partials + " and " + (folder / scratch) + "\nmakeframes: cannot read " +
                                (folder / "missing.txt")),
                  0u)
            << next.err;
        EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"in.txt", "new.txt", "out-Alpha-phraseFrames.txt",
                                                                   "out-Corpus.txt", "out-Freq-phraseFrames.txt"}));
        EXPECT_EQ(readAll(alpha), earlierAlpha);
        EXPECT_EQ(readAll(freq), earlierFreq);
    }
}

// A run that keeps no frame says which thresholds to lower and writes
// nothing, leaving an earlier run's files as they were.
TEST(MakeframesRun, NoFrameKeptWritesNothingAndSaysWhatToLower)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    writeFile(folder / "out-Alpha-phraseFrames.txt", "earlier");
    const struct {
        std::vector<std::string> options;
        std::string message;
    } cases[] = {
        {{"-min", "5"}, "no frame occurs at least 5 times in 2 variants: lower -min or -minvar"},
        {{"-n", "2-3", "-minvar", "5", "-ngrams"}, "no frame occurs at least 2 times in 5 variants: lower -min or -minvar"},
        {{"-minrange", "2"}, "no frame occurs at least 2 times in 2 variants in 2 files: lower -min, -minvar or -minrange"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.options;
        args.insert(args.end(), {"-q", folder / "in.txt", folder / "out"});
        const Result result = runTool(folder, args);
        EXPECT_EQ(result.status, 1) << c.message;
        EXPECT_EQ(result.err, "makeframes: " + c.message + "\n");
        EXPECT_EQ(namesIn(folder.path), (std::vector<std::string>{"in.txt", "out-Alpha-phraseFrames.txt"}));
    }
    EXPECT_EQ(readAll(folder / "out-Alpha-phraseFrames.txt"), "earlier");
}

// A run replaces the whole set of each length it makes: the n-gram list and
// statistics an earlier run wrote beside them go when this run writes none;
// another length's files stay.
TEST(MakeframesRun, ARunRemovesTheEarlierListsOfItsLengthsItDoesNotWrite)
{
    ScratchFolder folder;
    writeFile(folder / "in.txt", sampleText);
    const Result first = runTool(folder, {"-q", "-n", "3-4", "-ngrams", "-stats", folder / "in.txt", folder / "out"});
    ASSERT_EQ(first.status, 0) << first.err;
    const Result second = runTool(folder, {"-n", "4-5", "-stats", folder / "in.txt", folder / "out"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_NE(second.out.find("removed the earlier " + (folder / "out-4-Ngrams.txt") + ", which this run does not write\n"),
              std::string::npos)
        << second.out;
    EXPECT_EQ(namesIn(folder.path),
              (std::vector<std::string>{"in.txt", "out-3-Alpha-phraseFrames.txt", "out-3-Corpus.txt",
                                        "out-3-Freq-phraseFrames.txt", "out-3-Ngrams.txt", "out-3-Stats.txt",
                                        "out-4-Alpha-phraseFrames.txt", "out-4-Corpus.txt",
                                        "out-4-Freq-phraseFrames.txt", "out-4-Stats.txt",
                                        "out-5-Alpha-phraseFrames.txt", "out-5-Corpus.txt",
                                        "out-5-Freq-phraseFrames.txt", "out-5-Stats.txt"}));
}
