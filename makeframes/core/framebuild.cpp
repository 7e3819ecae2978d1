#include "makeframes/core/framebuild.h"

#include "common/core/frameformat.h"
#include "common/core/statsformat.h"
#include "common/core/text.h"

#include "makeframes/core/externalsort.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numeric>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// An n-gram (words as ranks) in one input file, with its count there.
template <int N>
struct Gram {
    uint32_t w[N];
    uint32_t file;
    uint32_t count;
};

// Compares two words at a time, as 64-bit numbers.
template <int N>
bool recordLess(const Gram<N>& a, const Gram<N>& b)
{
    for (int i = 0; i + 1 < N; i += 2) {
        const uint64_t x = (uint64_t(a.w[i]) << 32) | a.w[i + 1];
        const uint64_t y = (uint64_t(b.w[i]) << 32) | b.w[i + 1];
        if (x != y)
            return x < y;
    }
    if constexpr (N % 2 == 1)
        return ((uint64_t(a.w[N - 1]) << 32) | a.file) < ((uint64_t(b.w[N - 1]) << 32) | b.file);
    return a.file < b.file;
}

template <int N>
bool sameKey(const Gram<N>& a, const Gram<N>& b)
{
    return std::memcmp(a.w, b.w, sizeof a.w) == 0 && a.file == b.file;
}

template <int N>
void combine(Gram<N>& into, const Gram<N>& from)
{
    const uint64_t sum = uint64_t(into.count) + from.count;
    into.count = sum > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(sum);
}

// A kept frame's record in the Alpha file, ordered for the Freq file: by
// falling frequency, then by position (the Alpha file is in byte order).
struct FreqEntry {
    uint64_t frequency;
    uint64_t offset;
    uint64_t length;
    uint64_t statsOffset; // the frame's row of statistics in their scratch file
    uint64_t statsLength;
};

bool recordLess(const FreqEntry& a, const FreqEntry& b)
{
    return a.frequency != b.frequency ? a.frequency > b.frequency : a.offset < b.offset;
}

bool sameKey(const FreqEntry&, const FreqEntry&)
{
    return false;
}

void combine(FreqEntry&, const FreqEntry&) {}

void appendNumber(std::string& out, uint64_t value)
{
    char digits[24];
    int length = 0;
    do {
        digits[length++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (length > 0)
        out += digits[--length];
}

// Rotates an n-gram so that its slot word comes last: sorting rotated records
// sorts by frame, then by the word in the slot.
template <int N>
Gram<N> rotated(const Gram<N>& g, int slot)
{
    Gram<N> r = g;
    for (int i = slot; i < N - 1; ++i)
        r.w[i] = g.w[i + 1];
    r.w[N - 1] = g.w[slot];
    return r;
}

// Word i of the frame that a record rotated for the slot belongs to (0 for
// the slot itself).
template <int N>
uint32_t frameWord(const Gram<N>& r, int slot, int i)
{
    return i < slot ? r.w[i] : i == slot ? 0 : r.w[i > 0 ? i - 1 : 0];
}

template <int N>
bool frameLess(const Gram<N>& a, int slotA, const Gram<N>& b, int slotB)
{
    for (int i = 0; i < N; ++i) {
        const uint32_t x = frameWord(a, slotA, i);
        const uint32_t y = frameWord(b, slotB, i);
        if (x != y)
            return x < y;
    }
    return false;
}

template <int N>
bool sameFrame(const Gram<N>& a, const Gram<N>& b)
{
    return std::memcmp(a.w, b.w, sizeof(uint32_t) * (N - 1)) == 0;
}

// Hash of the frame that an n-gram gives for a slot.
template <int N>
uint64_t frameHash(const Gram<N>& g, int slot)
{
    uint64_t h = 0x9E3779B97F4A7C15ull * uint64_t(slot + 1);
    for (int i = 0; i < N; ++i) {
        if (i == slot)
            continue;
        h = (h ^ g.w[i]) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    return h ^ (h >> 29);
}

struct FrameRecord {
    std::vector<std::pair<uint32_t, uint64_t>> variants; // slot word, frequency
    std::vector<std::pair<uint32_t, uint64_t>> files; // input file (from 1), occurrences in it
    uint64_t frequency = 0;
};

// One of the run's own files read back at given places: the whole file in
// memory when it fits in `memory`, else through a window of it. Most records
// are asked for in the order they were written (the many frames of equal
// frequency), so the window turns their reads into one read of each stretch.
struct RecordSource {
    fs::path name;
    std::string whole; // the whole file, or the window
    uint64_t windowStart = 0;
    std::FILE* file = nullptr;
    static constexpr size_t windowBytes = 1 << 20;

    RecordSource(const fs::path& fileName, uint64_t size, uint64_t memory) : name(fileName)
    {
        file = openFile(name, "rb");
        if (file == nullptr)
            failFile("read", name);
        if (size > memory)
            return;
        whole.resize(static_cast<size_t>(size));
        const size_t got = whole.empty() ? 0 : std::fread(&whole[0], 1, whole.size(), file);
        std::fclose(file);
        file = nullptr;
        if (got != whole.size())
            failFile("read", name);
    }
    ~RecordSource()
    {
        if (file != nullptr)
            std::fclose(file);
    }
    RecordSource(const RecordSource&) = delete;
    RecordSource& operator=(const RecordSource&) = delete;

    void read(uint64_t offset, uint64_t length, std::string& out)
    {
        if (file != nullptr && (offset < windowStart || offset + length > windowStart + whole.size())) {
            whole.resize(static_cast<size_t>(std::max<uint64_t>(length, windowBytes)));
            const size_t got = seekFile(file, offset) ? std::fread(&whole[0], 1, whole.size(), file) : 0;
            if (got < length)
                failFile("read", name);
            whole.resize(got);
            windowStart = offset;
        }
        out.assign(whole, static_cast<size_t>(offset - windowStart), static_cast<size_t>(length));
    }
};

const std::string statsHeader = statsHeaderLine();

// A file for the user: UTF-8's byte-order mark first when the words are in
// UTF-8, so that every program knows what it reads.
void startFile(OutputFile& file, const FrameSettings& settings)
{
    if (settings.byteOrderMark)
        file.write(utf8ByteOrderMark.data(), utf8ByteOrderMark.size());
}

// The Freq file from the records of the Alpha file: records in the order of
// the sorted entries, variant lines re-ordered by falling frequency (a stable
// sort keeps the Alpha file's byte order among equal frequencies). The rows
// of the statistics, when there are any, follow the same order.
void writeFreqOrder(RecordSource& alpha, RecordSource* statsRows, Merger<FreqEntry>& entries, uint64_t frameCount,
                    const FrameFileNames& names, const FrameSettings& settings)
{
    OutputFile out(names.freq);
    startFile(out, settings);
    std::unique_ptr<OutputFile> stats;
    if (statsRows != nullptr) {
        stats = std::make_unique<OutputFile>(names.stats);
        startFile(*stats, settings);
        stats->write(statsHeader);
    }
    std::string record;
    std::string row;
    struct Line {
        size_t start;
        size_t length;
        uint64_t frequency;
    };
    std::vector<Line> lines;
    FreqEntry entry;
    uint64_t written = 0;
    while (entries.next(entry)) {
        alpha.read(entry.offset, entry.length, record);
        const size_t headerEnd = findCrLf(record) + 2;
        lines.clear();
        for (size_t start = headerEnd; start < record.size();) {
            const size_t end = findCrLf(record, start);
            const size_t tab = record.rfind('\t', end);
            uint64_t frequency = 0;
            for (size_t k = tab + 1; k < end; ++k)
                frequency = frequency * 10 + static_cast<unsigned>(record[k] - '0');
            lines.push_back({start, end + 2 - start, frequency});
            start = end + 2;
        }
        std::stable_sort(lines.begin(), lines.end(),
                         [](const Line& a, const Line& b) { return a.frequency > b.frequency; });
        if (written > 0)
            out.write("\r\n", 2);
        out.write(record.data(), headerEnd);
        for (const Line& line : lines)
            out.write(record.data() + line.start, line.length);
        if (stats) {
            statsRows->read(entry.statsOffset, entry.statsLength, row);
            stats->write(row);
        }
        if ((++written & 0xFFFF) == 0 && settings.progress)
            settings.progress("writing the Freq file", double(written) / double(frameCount));
    }
    out.close();
    if (stats)
        stats->close();
}

// A number with four decimals and a full stop, whatever the locale; halves
// round to even.
void appendFixed(std::string& out, double value)
{
    const uint64_t scaled = static_cast<uint64_t>(std::nearbyint(value * 10000.0));
    appendNumber(out, scaled / 10000);
    out += '.';
    const unsigned fraction = static_cast<unsigned>(scaled % 10000);
    for (unsigned digit = 1000; digit > 0; digit /= 10)
        out += static_cast<char>('0' + fraction / digit % 10);
}

// What the phases of one length share.
template <int N>
struct Build {
    const CorpusReader& corpus;
    const WordStream& words;
    const RankedWords& ranked;
    const FrameSettings& settings;
    const FrameFileNames& names;
    Scratch scratch;
    FrameCounts counts;
    uint64_t usable = 0;  // bytes the sorting may hold
    size_t capacity = 0;  // n-gram records that fit in them
    bool perFile = false; // n-grams counted per input file, for ranges
    std::vector<int> slots;
    FileSizes fileSizes;  // for the dispersion over the files

    void report(const char* phase, double fraction) const
    {
        if (settings.progress)
            settings.progress(phase, fraction);
    }
};

// The bound is what the caller gives this build in the settings, not the
// run's: builds alive at once must each be given their share. What the
// vocabulary and the word stream already hold counts against it, and so do
// the program itself and its file buffers; the phases of the build then share
// what is left among what each holds at once.
template <int N>
void setMemoryBudget(Build<N>& build)
{
    const CorpusReader& corpus = build.corpus;
    const uint64_t programBytes = 16 << 20;
    uint64_t used = programBytes + corpus.vocabularyBytes() + build.words.held.capacity() * sizeof(uint32_t);
    for (const std::string& text : build.ranked.textOf)
        used += sizeof(std::string) + (text.capacity() > 15 ? text.capacity() : 0);
    used += build.ranked.rankOf.capacity() * sizeof(uint32_t);
    // However much the corpus's words take, at least half the bound sorts:
    // less makes runs so small that their merges never end.
    build.usable = build.settings.memoryBytes > used + 1024 ? build.settings.memoryBytes - used : 1024;
    build.usable = std::max(build.usable, build.settings.memoryBytes / 2);
    build.capacity = static_cast<size_t>(build.usable / sizeof(Gram<N>));
    build.scratch.readerBytes =
        static_cast<size_t>(std::min<uint64_t>(1 << 20, std::max<uint64_t>(4096, build.usable / 1024)));
}

// From count lists: each n-gram as its N word ids, then its count.
template <int N>
void addListedNgrams(Build<N>& build, RunSorter<Gram<N>>& grams)
{
    const WordStream& stream = build.words;
    const uint64_t totalIds = stream.held.size() + stream.spilledIds;
    WordStreamReader reader(stream);
    uint64_t read = 0;
    uint32_t id;
    Gram<N> gram;
    gram.file = 0;
    int filled = 0;
    while (reader.next(id)) {
        if ((++read & 0xFFFFF) == 0)
            build.report("counting n-grams", double(read) / double(totalIds));
        if (filled < N) {
            gram.w[filled++] = build.ranked.rankOf[id];
            continue;
        }
        gram.count = id;
        grams.add(gram);
        build.counts.ngrams += gram.count;
        filled = 0;
    }
}

// Counting: every n-gram within a sentence, with its file when ranges count.
template <int N>
void countNgrams(Build<N>& build, RunSorter<Gram<N>>& grams)
{
    if (build.settings.fromCountLists)
        return addListedNgrams(build, grams);
    const WordStream& stream = build.words;
    const uint64_t totalIds = stream.held.size() + stream.spilledIds;
    WordStreamReader reader(stream);
    uint32_t window[N] = {};
    int filled = 0;
    uint32_t file = 0;
    uint64_t read = 0;
    uint32_t id;
    Gram<N> gram;
    gram.count = 1;
    while (reader.next(id)) {
        if ((++read & 0xFFFFF) == 0)
            build.report("counting n-grams", double(read) / double(totalIds));
        if (id >= fileStartId) {
            filled = 0;
            if (id == fileStartId)
                ++file;
            continue;
        }
        for (int i = 0; i + 1 < N; ++i)
            window[i] = window[i + 1];
        window[N - 1] = build.ranked.rankOf[id];
        if (filled < N)
            ++filled;
        if (filled == N) {
            std::memcpy(gram.w, window, sizeof window);
            gram.file = build.perFile ? file : 0;
            grams.add(gram);
            ++build.counts.ngrams;
        }
    }
}

// The distinct n-grams (per file when ranges count), in byte order: in
// memory, or in one run on disk.
template <int N>
struct DistinctGrams {
    RunSorter<Gram<N>>& grams;
    Run run{"", 0};
    uint64_t count = 0;

    // Each distinct n-gram in order, with the sorts' poll every million.
    template <class Use>
    void forEach(Use&& use, size_t readerBytes) const
    {
        uint32_t passed = 0;
        const auto pass = [&](const Gram<N>& g) {
            if ((++passed & 0xFFFFF) == 0 && grams.poll)
                grams.poll();
            use(g);
        };
        if (!grams.spilled()) {
            for (const Gram<N>& g : grams.buffer)
                pass(g);
            return;
        }
        RunReader<Gram<N>> reader(run, readerBytes);
        Gram<N> g;
        while (reader.next(g))
            pass(g);
    }
};

template <int N>
DistinctGrams<N> finishCounting(Build<N>& build, RunSorter<Gram<N>>& grams)
{
    DistinctGrams<N> distinct{grams};
    grams.sortBuffer();
    if (grams.spilled()) {
        build.counts.spilled = true;
        grams.spillAll();
        if (grams.runs.size() > 1)
            grams.mergeRuns();
        distinct.run = grams.runs.front();
    }
    distinct.count = grams.spilled() ? distinct.run.records : grams.buffer.size();
    return distinct;
}

// An n-gram of the list with its frequency over all files, ordered by
// falling frequency, then by bytes.
template <int N>
struct NgramEntry {
    uint64_t frequency;
    uint32_t w[N];
};

template <int N>
bool recordLess(const NgramEntry<N>& a, const NgramEntry<N>& b)
{
    if (a.frequency != b.frequency)
        return a.frequency > b.frequency;
    return std::lexicographical_compare(a.w, a.w + N, b.w, b.w + N);
}

template <int N>
bool sameKey(const NgramEntry<N>&, const NgramEntry<N>&)
{
    return false;
}

template <int N>
void combine(NgramEntry<N>&, const NgramEntry<N>&)
{
}

// The n-gram list: each n-gram that occurs at least minFrequency times, TAB,
// its frequency.
template <int N>
void writeNgramList(Build<N>& build, const DistinctGrams<N>& distinct)
{
    build.report("writing the n-gram list", 0);
    const uint64_t held = distinct.grams.spilled() ? 0 : distinct.count * sizeof(Gram<N>);
    const uint64_t room = build.usable > held + 4096 ? build.usable - held : 4096;
    const size_t capacity = static_cast<size_t>(
        std::min<uint64_t>(room / sizeof(NgramEntry<N>) / 2, distinct.count + 16));
    RunSorter<NgramEntry<N>> order(build.scratch, build.settings.poll, capacity, false);
    order.threads = build.settings.threads;
    NgramEntry<N> entry{0, {}};
    const auto keep = [&]() {
        if (entry.frequency >= build.settings.minFrequency)
            order.add(entry);
    };
    distinct.forEach(
        [&](const Gram<N>& g) {
            if (entry.frequency > 0 && std::memcmp(entry.w, g.w, sizeof g.w) == 0) {
                entry.frequency += g.count;
                return;
            }
            if (entry.frequency > 0)
                keep();
            std::memcpy(entry.w, g.w, sizeof g.w);
            entry.frequency = g.count;
        },
        build.scratch.readerBytes);
    if (entry.frequency > 0)
        keep();
    if (order.spilled())
        build.counts.spilled = true;

    OutputFile out(build.names.ngrams);
    startFile(out, build.settings);
    Merger<NgramEntry<N>> merger = order.merger();
    std::string line;
    while (merger.next(entry)) {
        line.clear();
        for (int i = 0; i < N; ++i) {
            if (i > 0)
                line += ' ';
            line += build.ranked.textOf[entry.w[i]];
        }
        line += '\t';
        appendNumber(line, entry.frequency);
        line += "\r\n";
        out.write(line);
        ++build.counts.ngramLines;
    }
    out.close();
}

// Each slot's records sorted by frame, in memory or in runs on disk.
template <int N>
struct SlotData {
    std::vector<Run> runs;
    std::vector<Gram<N>> memory;
};

// Sorts each slot's records by frame. The counts' own order is already that
// of the last slot. Returns the bytes the slots hold in memory.
template <int N>
uint64_t sortSlots(Build<N>& build, DistinctGrams<N>& distinct, std::vector<SlotData<N>>& slotData)
{
    using G = Gram<N>;
    RunSorter<G>& grams = distinct.grams;
    const std::vector<int>& slots = build.slots;
    const FrameSettings& settings = build.settings;

    // A frame that occurs fewer times than a kept frame needs (it cannot
    // have more variants or files than occurrences) is left out before the
    // sorting. Frequencies are summed in a hashed table of one-byte cells
    // (255 meaning 255 or more), where collisions can only raise them, so no
    // frame that is kept is lost.
    const uint64_t threshold = std::max({settings.minFrequency, settings.minVariants, settings.minRange});
    std::vector<uint8_t> sketch;
    size_t sketchMask = 0;
    // The table is far larger than the caches: its cells for a block of
    // n-grams are fetched ahead, so that the misses overlap.
    const size_t blockSize = 32;
    // With onlySlot given, only the cells of that slot (an index of slots)
    // are looked up.
    const size_t allSlots = slots.size();
    const auto forEachBlock = [&](auto&& use, size_t onlySlot) {
        std::vector<G> block;
        std::vector<size_t> cells(blockSize * N);
        block.reserve(blockSize);
        const size_t firstSlot = onlySlot == allSlots ? 0 : onlySlot;
        const size_t endSlot = onlySlot == allSlots ? allSlots : onlySlot + 1;
        const auto flush = [&]() {
            if (!sketch.empty())
                for (size_t k = 0; k < block.size(); ++k)
                    for (size_t j = firstSlot; j < endSlot; ++j) {
                        cells[k * N + j] = frameHash(block[k], slots[j]) & sketchMask;
                        __builtin_prefetch(sketch.data() + cells[k * N + j], 1);
                    }
            for (size_t k = 0; k < block.size(); ++k)
                use(block[k], &cells[k * N]);
            block.clear();
        };
        distinct.forEach(
            [&](const G& g) {
                block.push_back(g);
                if (block.size() == blockSize)
                    flush();
            },
            build.scratch.readerBytes);
        flush();
    };
    if (threshold > 1) {
        build.report("sorting frames", 0);
        size_t size = 1024;
        const uint64_t sketchLimit = std::max<uint64_t>(1024, build.usable / 4);
        while (size < 4 * distinct.count * slots.size() && size * 2 <= sketchLimit)
            size *= 2;
        sketch.assign(size, 0);
        sketchMask = size - 1;
        forEachBlock([&](const G& g, const size_t* cells) {
            for (size_t j = 0; j < slots.size(); ++j) {
                uint8_t& cell = sketch[cells[j]];
                const uint64_t sum = uint64_t(cell) + g.count;
                cell = sum > 255 ? 255 : static_cast<uint8_t>(sum);
            }
        }, allSlots);
    }
    // Whether slot j (of slots) needs the n-gram whose cells are given.
    const auto needed = [&](const size_t* cells, size_t j) {
        return sketch.empty() || sketch[cells[j]] >= std::min<uint64_t>(threshold, 255);
    };

    // In memory, the counts, the table and the slots' copies are all held
    // at once. Each slot needs at most every distinct n-gram; when that much
    // would not fit, the table tells how many it needs.
    const uint64_t heldRecords = distinct.count + sketch.size() / sizeof(G);
    std::vector<uint64_t> slotNeeds(slots.size(), distinct.count);
    uint64_t slotRecords = distinct.count * slots.size();
    if (!grams.spilled() && heldRecords + slotRecords > build.capacity) {
        std::fill(slotNeeds.begin(), slotNeeds.end(), 0);
        forEachBlock([&](const G&, const size_t* cells) {
            for (size_t j = 0; j < slots.size(); ++j)
                slotNeeds[j] += needed(cells, j);
        }, allSlots);
        slotRecords = std::accumulate(slotNeeds.begin(), slotNeeds.end(), uint64_t(0));
    }
    const bool inMemory = !grams.spilled() && heldRecords + slotRecords <= build.capacity;
    uint64_t slotMemory = 0;
    if (inMemory) {
        // Room at once, not by doubling.
        for (size_t j = 0; j < slots.size(); ++j)
            slotData[slots[j]].memory.reserve(static_cast<size_t>(slotNeeds[j]));
        forEachBlock([&](const G& g, const size_t* cells) {
            for (size_t j = 0; j < slots.size(); ++j)
                if (needed(cells, j))
                    slotData[slots[j]].memory.push_back(rotated(g, slots[j]));
        }, allSlots);
        std::vector<G>().swap(grams.buffer);
        for (int s : slots) {
            std::vector<G>& v = slotData[s].memory;
            // The counts' order leaves the words before the slot in order:
            // only the records of equal such words need sorting together.
            const auto sameWordsBefore = [s](const G& a, const G& b) {
                return std::memcmp(a.w, b.w, sizeof(uint32_t) * static_cast<size_t>(s)) == 0;
            };
            if (s > 0 && s != N - 1)
                sortGroupsPolled(v, sameWordsBefore, settings.poll, settings.threads);
            else if (s != N - 1)
                sortPolled(v, settings.poll, settings.threads);
            slotMemory += v.size() * sizeof(G);
        }
    } else {
        build.counts.spilled = true;
        if (!grams.spilled()) {
            grams.spillAll();
            distinct.run = grams.runs.front();
        }
        const size_t sketchRecords = sketch.size() / sizeof(G);
        const size_t room = build.capacity > sketchRecords ? build.capacity - sketchRecords : 0;
        size_t kept = 0; // records of the slots kept in memory
        for (size_t k = 0; k < slots.size(); ++k) {
            const int s = slots[k];
            build.report("sorting frames", double(k + 1) / double(slots.size() + 1));
            if (s == N - 1) {
                RunWriter<G> writer(build.scratch);
                forEachBlock(
                    [&](const G& g, const size_t* cells) {
                        if (needed(cells, k))
                            writer.write(&g, 1);
                    },
                    k);
                slotData[s].runs.push_back(writer.finish());
                continue;
            }
            RunSorter<G> sorter(build.scratch, settings.poll, room - kept, false);
            sorter.threads = settings.threads;
            forEachBlock(
                [&](const G& g, const size_t* cells) {
                    if (needed(cells, k))
                        sorter.add(rotated(g, s));
                },
                k);
            // A slot that fits in half of what is left stays in memory: the
            // slots after it still sort in runs of a useful size.
            if (!sorter.spilled() && sorter.buffer.size() <= (room - kept) / 2) {
                sorter.sortBuffer();
                sorter.buffer.shrink_to_fit();
                kept += sorter.buffer.size();
                slotMemory += sorter.buffer.size() * sizeof(G);
                slotData[s].memory = std::move(sorter.buffer);
                continue;
            }
            sorter.spillAll();
            slotData[s].runs = sorter.runs;
        }
    }
    if (!distinct.run.name.empty()) {
        std::error_code ignored;
        fs::remove(distinct.run.name, ignored);
    }
    return slotMemory;
}

// One row of the statistics: the measures of a kept frame.
template <int N>
void appendStatsRow(std::string& row, const Build<N>& build, const std::string& frameText,
                    const std::string& prefix, const std::string& suffix, const FrameRecord& frame, uint64_t range)
{
    const double frequency = double(frame.frequency);
    size_t top = 0;
    double entropy = 0;
    for (size_t k = 0; k < frame.variants.size(); ++k) {
        if (frame.variants[k].second > frame.variants[top].second)
            top = k; // the first of equals: the Freq file's order
        const double share = double(frame.variants[k].second) / frequency;
        entropy -= share * std::log2(share);
    }
    appendFrameFields(row, frameText, frame.frequency, frame.variants.size());
    row += '\t';
    appendFixed(row, double(frame.variants.size()) / frequency);
    row += '\t';
    row += prefix;
    row += build.ranked.textOf[frame.variants[top].first];
    row += suffix;
    row += '\t';
    appendFixed(row, double(frame.variants[top].second) / frequency);
    row += '\t';
    appendFixed(row, entropy);
    row += '\t';
    if (!build.settings.fromCountLists)
        appendNumber(row, range);
    row += '\t';
    if (!build.settings.fromCountLists)
        appendFixed(row, deviationOfProportions(frame.files, build.fileSizes));
    row += '\t';
    if (!build.settings.fromCountLists)
        appendFixed(row, frequency * 1e6 / double(std::max<uint64_t>(1, build.corpus.wordCount)));
    row += "\r\n";
}

// One pass over all slots in frame order writes the Alpha file (and the
// statistics' rows, in the same order, to a scratch file) and collects the
// kept frames' places for the Freq file.
template <int N>
void writeAlphaFile(Build<N>& build, std::vector<SlotData<N>>& slotData, RunSorter<FreqEntry>& freqOrder,
                    OutputFile* statsRows)
{
    using G = Gram<N>;
    const FrameSettings& settings = build.settings;
    std::vector<std::unique_ptr<Merger<G>>> streams;
    std::vector<G> heads;
    std::vector<int> headSlot;
    for (int s : build.slots) {
        const SlotData<N>& d = slotData[s];
        auto merger = std::make_unique<Merger<G>>(d.runs, d.memory.data(), d.memory.data() + d.memory.size(), false,
                                                  build.scratch.readerBytes, settings.poll);
        G head;
        if (merger->next(head)) {
            streams.push_back(std::move(merger));
            heads.push_back(head);
            headSlot.push_back(s);
        }
    }
    OutputFile alpha(build.names.alpha);
    startFile(alpha, settings);
    FrameRecord frame;
    std::string text;
    std::string prefix;
    std::string suffix;
    std::string frameText;
    std::string row;
    const uint64_t totalRecords = std::max<uint64_t>(1, build.counts.ngrams * build.slots.size());
    uint64_t consumed = 0;
    while (!streams.empty()) {
        size_t j = 0;
        for (size_t k = 1; k < streams.size(); ++k)
            if (frameLess(heads[k], headSlot[k], heads[j], headSlot[j]))
                j = k;
        const G first = heads[j];
        const int slot = headSlot[j];
        frame.variants.clear();
        frame.files.clear();
        frame.frequency = 0;
        bool more = true;
        while (more && sameFrame(heads[j], first)) {
            const G& g = heads[j];
            if (frame.variants.empty() || frame.variants.back().first != g.w[N - 1])
                frame.variants.emplace_back(g.w[N - 1], 0);
            frame.variants.back().second += g.count;
            frame.frequency += g.count;
            if (build.perFile) {
                if (frame.files.empty() || frame.files.back().first != g.file)
                    frame.files.emplace_back(g.file, 0);
                frame.files.back().second += g.count;
            }
            more = streams[j]->next(heads[j]);
            consumed += g.count;
        }
        if (!more) {
            streams.erase(streams.begin() + j);
            heads.erase(heads.begin() + j);
            headSlot.erase(headSlot.begin() + j);
        }
        if ((consumed & 0xFFFF) < 64)
            build.report("writing the Alpha file", double(consumed) / double(totalRecords));

        uint64_t range = 1;
        if (build.perFile) {
            // Each file once, with its occurrences summed over the variants.
            std::sort(frame.files.begin(), frame.files.end());
            size_t distinct = 0;
            for (const auto& file : frame.files) {
                if (distinct > 0 && frame.files[distinct - 1].first == file.first)
                    frame.files[distinct - 1].second += file.second;
                else
                    frame.files[distinct++] = file;
            }
            frame.files.resize(distinct);
            range = distinct;
        }
        if (frame.frequency < settings.minFrequency || frame.variants.size() < settings.minVariants ||
            range < settings.minRange)
            continue;

        prefix.clear();
        suffix.clear();
        for (int i = 0; i < N; ++i) {
            if (i == slot)
                continue;
            std::string& side = i < slot ? prefix : suffix;
            if (i > slot)
                side += ' ';
            side += build.ranked.textOf[frameWord(first, slot, i)];
            if (i < slot)
                side += ' ';
        }
        frameText = prefix + '*' + suffix;
        text.clear();
        if (build.counts.frames > 0)
            text += "\r\n";
        const uint64_t offset = alpha.written + text.size();
        appendFrameFields(text, frameText, frame.frequency, frame.variants.size());
        text += "\r\n";
        for (const auto& variant : frame.variants) {
            text += prefix;
            text += build.ranked.textOf[variant.first];
            text += suffix;
            text += '\t';
            appendNumber(text, variant.second);
            text += "\r\n";
        }
        alpha.write(text);
        FreqEntry entry{frame.frequency, offset, alpha.written - offset, 0, 0};
        if (statsRows != nullptr) {
            row.clear();
            appendStatsRow(row, build, frameText, prefix, suffix, frame, range);
            entry.statsOffset = statsRows->written;
            entry.statsLength = row.size();
            statsRows->write(row);
        }
        freqOrder.add(entry);
        ++build.counts.frames;
        build.counts.variants += frame.variants.size();
    }
    alpha.close();
}

template <int N>
FrameCounts buildFrames(const CorpusReader& corpus, const WordStream& words, const RankedWords& ranked, const FrameSettings& settings,
                        const FrameFileNames& names)
{
    using G = Gram<N>;
    Build<N> build{corpus, words, ranked, settings, names, Scratch(), FrameCounts(), 0, 0, false, {}, {}};
    build.scratch.folder = settings.scratchFolder;
    build.perFile = !settings.fromCountLists && (settings.minRange > 1 || !names.stats.empty());
    build.fileSizes = fileSizes(corpus.fileWords);
    for (int s = settings.innerSlotsOnly ? 1 : 0; s < (settings.innerSlotsOnly ? N - 1 : N); ++s)
        build.slots.push_back(s);
    setMemoryBudget(build);

    // A text corpus has no more n-grams than word places: a small one does
    // not take room for the whole bound (count lists have no word stream).
    const uint64_t places = words.spilledIds + words.held.size() + 16;
    const size_t gramCapacity =
        settings.fromCountLists ? build.capacity : static_cast<size_t>(std::min<uint64_t>(build.capacity, places));
    RunSorter<G> grams(build.scratch, settings.poll, gramCapacity, true);
    grams.threads = settings.threads;
    countNgrams(build, grams);
    DistinctGrams<N> distinct = finishCounting(build, grams);
    if (!names.ngrams.empty())
        writeNgramList(build, distinct);

    std::vector<SlotData<N>> slotData(N);
    const uint64_t slotMemory = sortSlots(build, distinct, slotData);

    const uint64_t entryMemory = build.usable > slotMemory + 4096 ? build.usable - slotMemory : 4096;
    // No more frames than n-grams times their slots.
    const uint64_t frameBound = distinct.count * build.slots.size() + 16;
    RunSorter<FreqEntry> freqOrder(
        build.scratch, settings.poll,
        static_cast<size_t>(std::min<uint64_t>(entryMemory / sizeof(FreqEntry) / 2, frameBound)), false);
    freqOrder.threads = settings.threads;
    std::unique_ptr<OutputFile> statsRows;
    if (!names.stats.empty())
        statsRows = std::make_unique<OutputFile>(build.scratch.newName());
    writeAlphaFile(build, slotData, freqOrder, statsRows.get());
    if (statsRows)
        statsRows->close();
    for (SlotData<N>& d : slotData)
        std::vector<G>().swap(d.memory);

    Merger<FreqEntry> entries = freqOrder.merger();
    const uint64_t entryBytes = freqOrder.buffer.size() * sizeof(FreqEntry);
    const uint64_t sourceMemory = build.usable > entryBytes ? (build.usable - entryBytes) / 2 : 0;
    RecordSource alpha(names.alpha, fs::file_size(names.alpha), sourceMemory);
    std::unique_ptr<RecordSource> stats;
    if (statsRows)
        stats = std::make_unique<RecordSource>(statsRows->name, statsRows->written, sourceMemory);
    writeFreqOrder(alpha, stats.get(), entries, build.counts.frames, names, settings);
    if (freqOrder.spilled())
        build.counts.spilled = true;
    return build.counts;
}

template <int N>
FrameCounts dispatch(int length, const CorpusReader& corpus, const WordStream& words, const RankedWords& ranked, const FrameSettings& settings,
                     const FrameFileNames& names)
{
    if constexpr (N > maxFrameLength) {
        throw std::runtime_error("n-gram length out of range");
    } else {
        if (length == N)
            return buildFrames<N>(corpus, words, ranked, settings, names);
        return dispatch<N + 1>(length, corpus, words, ranked, settings, names);
    }
}

} // namespace

FileSizes fileSizes(const std::vector<uint64_t>& fileWords)
{
    FileSizes sizes;
    sizes.words = fileWords;
    for (uint64_t words : fileWords)
        sizes.total += words;
    if (sizes.total > 0)
        sizes.smallestShare =
            double(*std::min_element(fileWords.begin(), fileWords.end())) / double(sizes.total);
    return sizes;
}

double deviationOfProportions(const std::vector<std::pair<uint32_t, uint64_t>>& occurrences, const FileSizes& files)
{
    uint64_t frequency = 0;
    for (const auto& file : occurrences)
        frequency += file.second;
    if (frequency == 0 || files.total == 0 || files.smallestShare >= 1)
        return 0;
    // A file without the frame differs by its expected share alone: the
    // files the frame is not in need no pass of their own.
    double differences = 0;
    double expectedThere = 0;
    for (const auto& file : occurrences) {
        const double expected = double(files.words[file.first - 1]) / double(files.total);
        differences += std::fabs(double(file.second) / double(frequency) - expected);
        expectedThere += expected;
    }
    differences += std::max(0.0, 1 - expectedThere);
    return std::min(1.0, std::max(0.0, differences / 2 / (1 - files.smallestShare)));
}

RankedWords rankWords(const CorpusReader& corpus)
{
    const size_t count = corpus.vocabularySize();
    std::vector<uint32_t> ids(count);
    std::iota(ids.begin(), ids.end(), 0u);
    const char* bytes = corpus.words.data();
    const auto view = [&corpus, bytes](uint32_t id) {
        const uint64_t start = corpus.wordStarts[id];
        return std::pair<const unsigned char*, size_t>(reinterpret_cast<const unsigned char*>(bytes + start),
                                                       static_cast<size_t>(corpus.wordStarts[id + 1] - start));
    };
    std::sort(ids.begin(), ids.end(), [&view](uint32_t a, uint32_t b) {
        const auto x = view(a);
        const auto y = view(b);
        const int c = std::memcmp(x.first, y.first, std::min(x.second, y.second));
        return c != 0 ? c < 0 : x.second < y.second;
    });
    RankedWords ranked;
    ranked.rankOf.resize(count);
    ranked.textOf.reserve(count + 1);
    ranked.textOf.emplace_back("*");
    for (size_t r = 0; r < count; ++r) {
        ranked.rankOf[ids[r]] = static_cast<uint32_t>(r + 1);
        ranked.textOf.push_back(corpus.wordText(ids[r]));
    }
    return ranked;
}

FrameCounts writeFrameFiles(const CorpusReader& corpus, const WordStream& words, const RankedWords& ranked, const FrameSettings& settings,
                            const FrameFileNames& names)
{
    if (settings.length < 2 || settings.length > maxFrameLength)
        throw std::runtime_error("n-gram length out of range");
    return dispatch<2>(settings.length, corpus, words, ranked, settings, names);
}

FrameCounts writeFrameFiles(const CorpusReader& corpus, const WordStream& words, const RankedWords& ranked, const FrameSettings& settings,
                            const fs::path& alphaName, const fs::path& freqName)
{
    FrameFileNames names;
    names.alpha = alphaName;
    names.freq = freqName;
    return writeFrameFiles(corpus, words, ranked, settings, names);
}
