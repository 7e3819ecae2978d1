#include "makeframes/core/externalsort.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <cstdint>
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
