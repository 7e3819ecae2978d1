// Times the Find scan and the "copy all" text over a list of about a million
// lines built in memory: frames with one to five variant lines each.
#include "browser/core/cliptext.h"
#include "browser/core/findscan.h"
#include "browser/core/rtf.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

uint32_t randomState = 12345;

uint32_t nextRandom()
{
    randomState = randomState * 1103515245u + 12345u;
    return randomState >> 8;
}

std::vector<std::string> makeWords()
{
    const char* const syllables[] = {"ta", "ker", "mo", "lin", "sa", "vo", "rin", "de",
                                     "pu", "gal", "no", "che", "fi", "ra", "bu", "ost"};
    std::vector<std::string> words;
    for (const char* a : syllables)
        for (const char* b : syllables)
            words.push_back(std::string(a) + b);
    return words;
}

// Records as the loader stores them: rank, TAB, header, then variant lines.
std::vector<std::string> makeFrames(int32_t wantedLines, size_t& lineCount, size_t& byteCount)
{
    const std::vector<std::string> words = makeWords();
    std::vector<std::string> frames(1);
    lineCount = 0;
    byteCount = 0;
    while (lineCount < static_cast<size_t>(wantedLines)) {
        const std::string left = words[nextRandom() % words.size()] + " " + words[nextRandom() % words.size()];
        const std::string right = words[nextRandom() % words.size()];
        const int variants = 1 + static_cast<int>(nextRandom() % 5);
        std::string lines;
        uint32_t total = 0;
        for (int v = 0; v < variants; ++v) {
            const uint32_t frequency = 2 + nextRandom() % 500;
            total += frequency;
            lines += "\r\n" + left + " " + words[nextRandom() % words.size()] + " " + right + "\t"
                     + std::to_string(frequency);
        }
        const std::string record = std::to_string(frames.size()) + "\t" + left + " * " + right + "\t"
                                   + std::to_string(total) + "\t" + std::to_string(variants) + lines;
        byteCount += record.size();
        lineCount += 1 + variants;
        frames.push_back(record);
    }
    return frames;
}

double bestMilliseconds(int rounds, const std::function<void()>& work)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        if (spent.count() < best)
            best = spent.count();
    }
    return best;
}

}  // namespace

int main()
{
    size_t lineCount = 0;
    size_t byteCount = 0;
    const std::vector<std::string> frames = makeFrames(1000000, lineCount, byteCount);
    const auto frameCount = static_cast<int32_t>(frames.size() - 1);
    std::printf("%d frames, %zu lines, %.1f MB of records\n", frameCount, lineCount, byteCount / 1e6);

    const struct { const char* label; const char* search; bool matchCase; } scans[] = {
        {"not found, match case on", "zz qq", true},
        {"not found, match case off", "ZZ QQ", false},
        {"not found, small letters off", "zz qq", false},
        {"common syllables, case on", "sa ra sa", true},
        {"common syllables, case off", "sa ra sa", false},
        {"last record, match case on", "", true},
        {"last record, match case off", "", false},
    };
    const std::string lastRecord = frames.back().substr(frames.back().find('\t') + 1);
    for (const auto& scan : scans) {
        const std::string search = *scan.search ? scan.search : lastRecord;
        const std::string passed = scan.matchCase ? search : upperCase(search);
        int32_t found = 0;
        const double ms = bestMilliseconds(5, [&] { found = findFrame(frames, frameCount, 1, passed, scan.matchCase); });
        std::printf("findFrame, %-29s %8.1f ms (%6.0f MB/s), found row %d\n", scan.label, ms,
                    byteCount / 1e3 / ms, found);
    }

    size_t copied = 0;
    const double copyMs = bestMilliseconds(5, [&] {
        copied = allSortedCopyText(frames, frameCount, "bench-Freq-phraseFrames.txt",
                                   "sorted by frequency in descending order").size();
    });
    std::printf("%-40s %8.1f ms, %.1f MB of text\n", "allSortedCopyText", copyMs, copied / 1e6);
    return 0;
}
