// Throughput and peak memory of the stopword filter's platform-free core on
// a large n-gram list: the list is streamed in chunks, as the program reads
// its files, and the kept text is held once, in memory.
//
// usage: filter_core_bench <n-gram list> <stopword list> [file for the kept text]

#include "common/core/numbertext.h"
#include "stopwords/core/textlines.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

namespace {

std::string readWhole(const char* path)
{
    std::string text;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return text;
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, got);
    std::fclose(file);
    return text;
}

struct Pass {
    double seconds = 0;
    uint64_t inputBytes = 0;
    int64_t linesRemoved = 0;
    std::string kept;
};

Pass filterFile(const char* path, const StopwordTest& isStopword)
{
    Pass pass;
    FILE* file = std::fopen(path, "rb");
    if (!file) {
        std::perror(path);
        return pass;
    }
    std::vector<char> chunk(1 << 20);
    // Kept lines are never longer than the input but for the CR added to
    // lines that ended in a lone CR or LF. Reserving the input's size up
    // front spares the copies of a growing string; pages never written are
    // never touched, so the memory used is that of the kept text, as in the
    // program, which reads its kept text back in one piece of the exact size.
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    if (size > 0)
        pass.kept.reserve(static_cast<size_t>(size) + static_cast<size_t>(size) / 8);
    LineFilter filter;
    auto started = std::chrono::steady_clock::now();
    size_t got;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), file)) > 0) {
        pass.inputBytes += got;
        filterBytes(filter, chunk.data(), got, isStopword, pass.kept);
    }
    finishFiltering(filter, isStopword, pass.kept);
    pass.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    pass.linesRemoved = filter.linesRemoved;
    std::fclose(file);
    return pass;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <n-gram list> <stopword list> [file for the kept text]\n", argv[0]);
        return 2;
    }
    std::vector<std::string> entries = stopwordEntries(readWhole(argv[2]));
    std::unordered_set<std::string_view> stopwords(entries.begin(), entries.end());
    StopwordTest isStopword = [&stopwords](std::string_view word) { return stopwords.count(word) > 0; };

    // The best of three passes; only one kept text is alive at a time.
    double bestSeconds = 0;
    uint64_t inputBytes = 0;
    int64_t linesRemoved = 0;
    size_t keptBytes = 0;
    for (int i = 0; i < 3; ++i) {
        Pass pass = filterFile(argv[1], isStopword);
        if (pass.inputBytes == 0)
            return 1;
        if (i == 0 || pass.seconds < bestSeconds)
            bestSeconds = pass.seconds;
        inputBytes = pass.inputBytes;
        linesRemoved = pass.linesRemoved;
        keptBytes = pass.kept.size();
        if (i == 0 && argc > 3) {
            FILE* out = std::fopen(argv[3], "wb");
            if (!out || std::fwrite(pass.kept.data(), 1, pass.kept.size(), out) != pass.kept.size()) {
                std::perror(argv[3]);
                return 1;
            }
            std::fclose(out);
        }
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double megabytes = inputBytes / 1e6;
    std::printf("filter core (native): %.1f MB in %.3f s = %.1f MB/s; %s lines removed, %.1f MB kept; "
                "%zu stopwords; peak memory %.1f MB\n",
                megabytes, bestSeconds, megabytes / bestSeconds, formatThousands(linesRemoved).c_str(),
                keptBytes / 1e6, stopwords.size(), usage.ru_maxrss / 1024.0);
    return 0;
}
