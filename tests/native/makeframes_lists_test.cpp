// The n-gram list and the frame statistics on hand-worked texts, byte for byte.
#include "makeframes/core/corpustext.h"
#include "makeframes/core/framebuild.h"
#include "tests/support/scratchfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Lists {
    std::string freq;
    std::string ngrams;
    std::string stats;
    FrameCounts counts;
};

// Each text is one input file; `memoryBytes` small sends the sorting to disk.
Lists listsOf(const std::vector<std::string>& texts, FrameSettings settings, bool stats,
              uint64_t memoryBytes = 64 << 20)
{
    ScratchFolder scratch;
    CorpusReader corpus;
    corpus.stream.spillName = scratch.path / "words";
    for (const std::string& text : texts) {
        corpus.beginFile(classifyText(text.data(), text.size(), true));
        corpus.addBytes(text.data(), text.size());
        corpus.endFile();
    }
    corpus.stream.finish();
    settings.memoryBytes = memoryBytes;
    settings.scratchFolder = scratch.path;
    FrameFileNames names;
    names.alpha = scratch.path / "a.txt";
    names.freq = scratch.path / "f.txt";
    names.ngrams = scratch.path / "n.txt";
    if (stats)
        names.stats = scratch.path / "s.txt";
    Lists lists;
    lists.counts = writeFrameFiles(corpus, rankWords(corpus), settings, names);
    lists.freq = readAll(names.freq);
    lists.ngrams = readAll(names.ngrams);
    lists.stats = stats ? readAll(names.stats) : "";
    // Nothing else is left in the scratch folder.
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(scratch.path))
        files += entry.path().filename() != "words";
    EXPECT_EQ(files, stats ? 4u : 3u);
    return lists;
}

FrameSettings bigrams(uint64_t minFrequency)
{
    FrameSettings settings;
    settings.length = 2;
    settings.minFrequency = minFrequency;
    return settings;
}

const std::string statsHeader = "frame\tfrequency\tvariants\tvariants per occurrence\ttop variant\t"
                                "top variant share\tentropy (bits)\trange\tDP\tper million words\r\n";

} // namespace

// By falling frequency, then by bytes: "a bc" before "ab c" (a word that is
// the start of another sorts first, as in the phrase-frame files).
TEST(MakeframesNgramList, ByFallingFrequencyThenBytes)
{
    const std::string text = "The cat sat. The cat ran. A dog ran. Ab c. A bc. The dog sat.";
    const Lists all = listsOf({text}, bigrams(1), false);
    EXPECT_EQ(all.ngrams, "the cat\t2\r\na bc\t1\r\na dog\t1\r\nab c\t1\r\ncat ran\t1\r\ncat sat\t1\r\n"
                          "dog ran\t1\r\ndog sat\t1\r\nthe dog\t1\r\n");
    EXPECT_EQ(all.counts.ngramLines, 9u);
    EXPECT_EQ(listsOf({text}, bigrams(2), false).ngrams, "the cat\t2\r\n");
    EXPECT_EQ(listsOf({text}, bigrams(3), false).ngrams, "");
    // Sorted in runs on disk, the same bytes.
    EXPECT_EQ(listsOf({text}, bigrams(1), false, 1).ngrams, all.ngrams);
}

// Worked by hand. Ten words in two files. Bigrams: "the cat" 3 (twice in the
// first file, once in the second), "the dog" 1 (first), "a dog" 1 (second).
// Kept frames: "the *" (cat 3, dog 1) and "* dog" (the 1, a 1).
//   the *: ratio 2/4 = 0.5; top "the cat" 3/4 = 0.75; entropy
//          -(0.75 log2 0.75 + 0.25 log2 0.25) = 0.3113 + 0.5 = 0.8113;
//          files 1 and 2; 4 per 10 words = 400000 per million.
//   * dog: ratio 2/2 = 1; top of equals in byte order "a dog" 0.5; entropy 1;
//          files 1 and 2; 200000 per million.
// DP: the files have 6 and 4 words, shares 0.6 and 0.4 (the smallest).
//   the *: 3 and 1 of 4, shares 0.75 and 0.25: 0.5 (0.15 + 0.15) / 0.6 = 0.25.
//   * dog: 1 and 1 of 2: 0.5 (0.1 + 0.1) / 0.6 = 0.1667.
TEST(MakeframesStats, HandWorkedTwoFiles)
{
    const Lists lists = listsOf({"The cat. The cat. The dog.", "The cat. A dog."}, bigrams(2), true);
    EXPECT_EQ(lists.stats, statsHeader +
                               "the *\t4\t2\t0.5000\tthe cat\t0.7500\t0.8113\t2\t0.2500\t400000.0000\r\n"
                               "* dog\t2\t2\t1.0000\ta dog\t0.5000\t1.0000\t2\t0.1667\t200000.0000\r\n");
    EXPECT_EQ(lists.freq, "the *\t4\t2\r\nthe cat\t3\r\nthe dog\t1\r\n\r\n* dog\t2\t2\r\na dog\t1\r\nthe dog\t1\r\n");
    // Counting per file for the range does not split the n-gram list.
    EXPECT_EQ(lists.ngrams, "the cat\t3\r\n");
}

// Three variants 2, 1, 1: entropy 0.5 + 0.5 + 0.5 = 1.5 exactly, a range of
// one file (DP 0), and a per-million figure with a repeating fraction.
TEST(MakeframesStats, EntropyRangeAndPerMillion)
{
    const Lists lists = listsOf({"Go on. Go up. Go on. Go in."}, bigrams(2), true);
    // 8 words: 4 per 8 words = 500000 per million.
    EXPECT_EQ(lists.stats, statsHeader + "go *\t4\t3\t0.7500\tgo on\t0.5000\t1.5000\t1\t0.0000\t500000.0000\r\n");
    const Lists thirds = listsOf({"Go on. Go up. Go on. Go in. Now."}, bigrams(2), true);
    // 9 words: 4000000 / 9 = 444444.4444...
    EXPECT_EQ(thirds.stats, statsHeader + "go *\t4\t3\t0.7500\tgo on\t0.5000\t1.5000\t1\t0.0000\t444444.4444\r\n");
    // The same rows with everything sorted on disk.
    EXPECT_EQ(listsOf({"Go on. Go up. Go on. Go in. Now."}, bigrams(2), true, 1).stats, thirds.stats);
}

// DP by hand: 0.5 * sum |observed share - expected share| / (1 - smallest
// expected share). The files are (file from 1, occurrences) as the frame
// has them.
//   10/30/60 words, 0/5/5 of 10: |0-.1| + |.5-.3| + |.5-.6| = .4; .2 / .9 = .2222
//   50/50, all 4 in file 1: (.5 + .5) / 2 = .5; .5 / .5 = 1
//   50/50, 2 and 2: 0
//   10/90, all in the smaller: (.9 + .9) / 2 = .9; .9 / .9 = 1
//   0/40/60, all 6 in file 3: (0 + .4 + .4) / 2 = .4; the smallest share is
//          0: .4 / 1 = .4
//   one file: the divisor 1 - 1 is 0, and DP is 0
TEST(MakeframesStats, DeviationOfProportionsByHand)
{
    const struct {
        std::vector<uint64_t> fileWords;
        std::vector<std::pair<uint32_t, uint64_t>> occurrences;
        double dp;
    } cases[] = {
        {{10, 30, 60}, {{2, 5}, {3, 5}}, 0.2 / 0.9},
        {{50, 50}, {{1, 4}}, 1},
        {{50, 50}, {{1, 2}, {2, 2}}, 0},
        {{10, 90}, {{1, 7}}, 1},
        {{0, 40, 60}, {{3, 6}}, 0.4},
        {{25}, {{1, 3}}, 0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(deviationOfProportions(c.occurrences, fileSizes(c.fileWords)), c.dp, 1e-12)
            << c.fileWords.size() << " files, " << c.occurrences.size() << " with the frame";
}
