// Times the browser's load split, the reading of a Stats file beside it, and
// column sorts on a generated phrase-frame text of about a million lines
// (200,000 frames with their variant lines).
#include "browser/core/framefile.h"
#include "browser/core/framemeasures.h"
#include "browser/core/sortcolumn.h"
#include "browser/core/variantorder.h"

#include <chrono>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

uint32_t nextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

std::vector<std::string> makeWords(uint32_t& state, int count)
{
    static const char* const syllables[] = {"ka", "lo", "mi", "ne", "ru", "ta", "si", "po", "de",
                                            "va", "gu", "he", "in", "or", "the", "an"};
    std::vector<std::string> words;
    for (int w = 0; w < count; ++w) {
        std::string word;
        int parts = 1 + static_cast<int>(nextRandom(state) % 3);
        for (int p = 0; p < parts; ++p)
            word += syllables[nextRandom(state) % 16];
        words.push_back(word);
    }
    return words;
}

// A frequency-ordered file: frames by falling frequency, each with 1 to 7
// variant lines by falling frequency, records separated by an empty line.
std::string makeFile(int frameTotal, int64_t& lineTotal)
{
    uint32_t state = 20061013u;
    std::vector<std::string> words = makeWords(state, 3000);
    std::string content;
    content.reserve(static_cast<size_t>(frameTotal) * 150);
    lineTotal = 0;
    int frequency = 2000000;
    for (int f = 0; f < frameTotal; ++f) {
        if (nextRandom(state) % 4 == 0 && frequency > 2)
            frequency -= 1 + static_cast<int>(nextRandom(state) % 10);
        const std::string& a = words[nextRandom(state) % words.size()];
        const std::string& b = words[nextRandom(state) % words.size()];
        const std::string& c = words[nextRandom(state) % words.size()];
        int variantCount = 1 + static_cast<int>(nextRandom(state) % 7);
        content += a + " " + b + " * " + c + "\t" + std::to_string(frequency) + "\t" +
                   std::to_string(variantCount) + "\r\n";
        int variantFrequency = frequency;
        for (int v = 0; v < variantCount; ++v) {
            const std::string& slot = words[nextRandom(state) % words.size()];
            int share = variantFrequency / 2 + 1;
            content += a + " " + b + " " + slot + " " + c + "\t" + std::to_string(share) + "\r\n";
            variantFrequency -= share / 2;
            ++lineTotal;
        }
        content += "\r\n";
        lineTotal += 2;
    }
    return content;
}

// The Stats table makeframes would write for the records, in their order
// (the Freq file's): a row of made-up measures per frame.
std::string makeStats(const std::vector<std::string>& frames, int32_t frameCount)
{
    std::string text = statsHeaderLine();
    for (int32_t k = 1; k <= frameCount; ++k) {
        const std::string& record = frames[static_cast<size_t>(k)];
        const size_t rankEnd = record.find('\t');
        text.append(record, rankEnd + 1, record.find("\r\n") - rankEnd - 1);
        text += "\t0.5000\ttop variant\t0.2500\t1.5000\t" + std::to_string(k % 40 + 1) + "\t0.3333\t" +
                std::to_string(k * 7 % 100000) + ".1250\r\n";
    }
    return text;
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

// The argument, if any, is the number of frames (200,000: about 1.2 million lines).
int main(int argc, char** argv)
{
    const int frameTotal = argc > 1 ? std::atoi(argv[1]) : 200000;
    int64_t lineTotal = 0;
    std::string content = makeFile(frameTotal, lineTotal);
    std::printf("generated %.1f MB, %lld lines\n", content.size() / 1e6, static_cast<long long>(lineTotal));

    std::vector<std::string> frames;
    int32_t frameCount = 0;
    int32_t variantTotal = 0;
    auto start = std::chrono::steady_clock::now();
    buildFrameRecords(content, frames, frameCount, variantTotal);
    const double splitMilliseconds = millisecondsSince(start);
    std::printf("buildFrameRecords: %8.1f ms  (%d frames, %d variants)\n", splitMilliseconds, frameCount,
                variantTotal);
    content.clear();
    content.shrink_to_fit();

    FrameMeasures measures;
    {
        const std::string stats = makeStats(frames, frameCount);
        start = std::chrono::steady_clock::now();
        const std::string problem = readFrameMeasures(stats, frames, frameCount, "bench", measures);
        const double statsMilliseconds = millisecondsSince(start);
        std::printf("readFrameMeasures: %8.1f ms  (%.1f MB; load with Stats / without: %.2f)%s\n",
                    statsMilliseconds, stats.size() / 1e6,
                    (splitMilliseconds + statsMilliseconds) / splitMilliseconds, problem.c_str());
    }

    int32_t sortState[5];
    resetSortState(sortState, 1);
    std::string description;
    const int order[] = {1, 2, 3, 4, 3, 1};
    for (int column : order) {
        start = std::chrono::steady_clock::now();
        sortByColumn(frames, frameCount, sortState, column, description);
        std::printf("sortByColumn(%d):    %8.1f ms  (%s)\n", column, millisecondsSince(start),
                    description.c_str());
    }

    // The measure columns sort through the Stats values: entropy, as a user
    // would click it (descending), then back by frequency.
    int32_t measuredSortState[listColumnCount + 1];
    resetSortState(measuredSortState, 1, shownColumnCount(measures));
    const int entropyColumn = recordColumnCount + 3;
    for (int column : {entropyColumn, 3}) {
        start = std::chrono::steady_clock::now();
        sortByColumn(frames, frameCount, measuredSortState, column, description, measures);
        std::printf("sortByColumn(%d) with measures: %8.1f ms  (%s)\n", column, millisecondsSince(start),
                    description.c_str());
    }

    start = std::chrono::steady_clock::now();
    size_t shownBytes = 0;
    for (int32_t k = 1; k <= frameCount; ++k) {
        std::string lines = variantLines(frames[static_cast<size_t>(k)]);
        orderVariants(lines, true, 1, false);
        shownBytes += lines.size();
    }
    std::printf("orderVariants (alphabetical, every frame): %.1f ms  (%zu bytes)\n",
                millisecondsSince(start), shownBytes);
    return 0;
}
