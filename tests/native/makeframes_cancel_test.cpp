// Cancel during the long sorts in memory of a corpus of a few million words:
// the run stops soon after, not when the sort ends, and leaves nothing.
#include "makeframes/core/run.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Sentences of words drawn from a vocabulary of 20,000, so that most
// 4-grams differ and the sorts have millions of records.
void writeCorpus(const fs::path& name, size_t words)
{
    std::ofstream out(name, std::ios::binary);
    uint32_t state = 12345;
    std::string sentence;
    for (size_t k = 0; k < words; ++k) {
        state = state * 1664525u + 1013904223u;
        sentence += "w" + std::to_string((state >> 8) % 20000);
        sentence += (k % 12 == 11) ? ".\n" : " ";
        if (sentence.size() > 1 << 16) {
            out << sentence;
            sentence.clear();
        }
    }
    out << sentence;
}

struct Phases {
    std::atomic<bool> sorting{false};
    Clock::time_point sortingSeen;
};

} // namespace

TEST(MakeframesCancel, CancelDuringTheSortsInMemoryEndsTheRunSoonAndLeavesNothing)
{
    ScratchFolder scratch;
    const fs::path folder = scratch.path;
    writeCorpus(folder / "corpus.txt", 3000000);
    fs::create_directory(folder / "out");

    MakeOptions options;
    options.inputs = {folder / "corpus.txt"};
    options.prefix = folder / "out" / "cancelled";
    options.memoryBytes = uint64_t(2) << 30; // everything sorted in memory
    MakeEvents events;
    Phases phases;
    events.progress = [&phases](const std::string& phase, double) {
        if (!phases.sorting && phase.find("sorting frames") != std::string::npos) {
            phases.sortingSeen = Clock::now();
            phases.sorting = true;
        }
    };

    // First the whole run, for the time its sorts take.
    const Clock::time_point started = Clock::now();
    std::atomic<bool> never{false};
    MakeResult result = runMakeFrames(options, events, never);
    ASSERT_TRUE(phases.sorting);
    const double sortsAndWriting = secondsSince(phases.sortingSeen);
    std::cout << "whole run " << secondsSince(started) << " s, from the sorts to the end " << sortsAndWriting
              << " s, " << result.words << " words\n";
    for (const fs::path& name : result.written)
        fs::remove(name);

    // Then cancelled just after the sorts began: the Cancel button pressed
    // while nothing but sorting goes on.
    phases.sorting = false;
    std::atomic<bool> cancel{false};
    std::atomic<bool> ended{false};
    Clock::time_point cancelledAt;
    std::thread presser([&]() {
        while (!phases.sorting && !ended)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        cancelledAt = Clock::now();
        cancel = true;
    });
    bool cancelled = false;
    try {
        runMakeFrames(options, events, cancel);
    } catch (const MakeCancelled&) {
        cancelled = true;
    }
    ended = true;
    presser.join();
    const double stopping = std::chrono::duration<double>(Clock::now() - cancelledAt).count();
    std::cout << "stopped " << stopping << " s after the cancel\n";
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(fs::is_empty(folder / "out"));
}

// The smallest memory bound is raised to one that sorts in pieces of a useful
// size, and says so; whatever the bound, the files are the same bytes.
TEST(MakeframesCancel, ASmallMemoryBoundIsRaisedAndSpillsToTheSameBytes)
{
    ScratchFolder scratch;
    const fs::path folder = scratch.path;
    writeCorpus(folder / "corpus.txt", 300000);
    std::string files[2];
    const uint64_t bounds[2] = {1, uint64_t(1) << 30};
    for (int k = 0; k < 2; ++k) {
        MakeOptions options;
        options.minLength = options.maxLength = 2;
        options.inputs = {folder / "corpus.txt"};
        options.prefix = folder / ("out" + std::to_string(k));
        options.memoryBytes = bounds[k];
        std::string said;
        MakeEvents events;
        events.report = [&said](const std::string& line) { said += line + "\n"; };
        events.warning = [&said](const std::string& line) { said += "warning: " + line + "\n"; };
        std::atomic<bool> never{false};
        const MakeResult result = runMakeFrames(options, events, never);
        for (const fs::path& name : result.written)
            files[k] += readAll(name);
        EXPECT_EQ(said.find("warning: memory bound raised to 16 MB, the least that sorts a corpus in pieces of a "
                            "useful size\n") == 0,
                  k == 0)
            << said;
        EXPECT_EQ(said.find("(sorted on disk)") != std::string::npos, k == 0) << said;
    }
    EXPECT_GT(files[0].size(), 1000000u);
    EXPECT_TRUE(files[0] == files[1]);
}
