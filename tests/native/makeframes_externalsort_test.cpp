#include "makeframes/core/externalsort.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

// A key with its count; equal keys add up.
struct Tally {
    uint32_t key;
    uint32_t count;
};

bool recordLess(const Tally& a, const Tally& b)
{
    return a.key < b.key;
}

bool sameKey(const Tally& a, const Tally& b)
{
    return a.key == b.key;
}

void combine(Tally& into, const Tally& from)
{
    into.count += from.count;
}

// Two sorts spilling into one scratch folder at once, as two lengths or two
// threads of a run would: each must read back its own runs, not the other's.
TEST(MakeframesExternalSort, SortsSharingAScratchFolderKeepTheirOwnRuns)
{
    ScratchFolder folder;
    Scratch scratchA;
    Scratch scratchB;
    scratchA.folder = folder.path;
    scratchB.folder = folder.path;
    const std::function<void()> noPoll;
    RunSorter<Tally> a(scratchA, noPoll, 16, true);
    RunSorter<Tally> b(scratchB, noPoll, 16, true);
    for (uint32_t k = 0; k < 1000; ++k) {
        a.add({k % 100, 1});
        b.add({1000 + k % 50, 2});
    }
    ASSERT_TRUE(a.spilled());
    ASSERT_TRUE(b.spilled());

    const auto sorted = [](RunSorter<Tally>& sorter) {
        std::vector<Tally> out;
        Merger<Tally> merger = sorter.merger();
        Tally tally;
        while (merger.next(tally))
            out.push_back(tally);
        return out;
    };
    const std::vector<Tally> fromA = sorted(a);
    const std::vector<Tally> fromB = sorted(b);
    ASSERT_EQ(fromA.size(), 100u);
    ASSERT_EQ(fromB.size(), 50u);
    for (uint32_t k = 0; k < 100; ++k) {
        EXPECT_EQ(fromA[k].key, k);
        EXPECT_EQ(fromA[k].count, 10u);
    }
    for (uint32_t k = 0; k < 50; ++k) {
        EXPECT_EQ(fromB[k].key, 1000 + k);
        EXPECT_EQ(fromB[k].count, 40u);
    }
}

} // namespace

namespace {

std::vector<Tally> shuffledTallies(size_t count)
{
    std::vector<Tally> records(count);
    uint32_t state = 7;
    for (size_t k = 0; k < count; ++k) {
        state = state * 1103515245u + 12345u;
        records[k] = {state, static_cast<uint32_t>(k)};
    }
    return records;
}

} // namespace

TEST(MakeframesExternalSort, SortsOnThreadsAsOnOne)
{
    const std::vector<Tally> records = shuffledTallies(100000);
    std::vector<Tally> alone = records;
    sortPolled(alone, nullptr, 1);
    ASSERT_TRUE(std::is_sorted(alone.begin(), alone.end(), RecordLess()));
    for (unsigned threads : {2u, 3u, 4u}) {
        std::vector<Tally> shared = records;
        sortPolled(shared, nullptr, threads);
        for (size_t k = 0; k < alone.size(); ++k)
            ASSERT_EQ(shared[k].key, alone[k].key) << threads << " threads, record " << k;
    }
}

// A cancel seen on a worker thread ends the sort there and reaches the
// caller; the other threads stop too, and all have ended when it does.
TEST(MakeframesExternalSort, AFailureOnAWorkerThreadReachesTheCaller)
{
    std::vector<Tally> records = shuffledTallies(1 << 20);
    const std::thread::id caller = std::this_thread::get_id();
    const std::function<void()> poll = [caller]() {
        if (std::this_thread::get_id() != caller)
            throw std::runtime_error("cancelled on a worker");
    };
    try {
        sortPolled(records, poll, 4);
        FAIL() << "the sort ended without the failure";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "cancelled on a worker");
    }
}

// A spill that finds the disk full (/dev/full stands at the name of the
// second run) stops the sort with the run's name and the reason, and the
// sort's files go with it.
TEST(MakeframesExternalSort, AFullDiskStopsTheSpillWithTheReasonAndLeavesNoRun)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    ScratchFolder folder;
    {
        Scratch scratch;
        scratch.folder = folder.path;
        const std::filesystem::path full = folder / ("sort" + std::to_string(scratch.stem) + "-run1");
        std::filesystem::create_symlink("/dev/full", full);
        const std::function<void()> noPoll = []() {};
        RunSorter<Tally> sorter(scratch, noPoll, 16, false);
        try {
            for (uint32_t key = 0; key < 64; ++key)
                sorter.add({key, 1});
            FAIL() << "the second run was written";
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(error.what(), "cannot write temporary file " + full.u8string() + ": the disk is full");
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));
}
