// Sorting more records than memory holds: sorted runs written to a scratch
// folder and merged back, and the buffered file a build writes.
// The records are plain data; each record type has recordLess (its order),
// sameKey and combine (how records of one key add up), found beside it.
#pragma once
#include "makeframes/core/fileopen.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Throws "cannot <what> <name>: " and the reason errno holds.
[[noreturn]] void failFile(const char* what, const std::filesystem::path& name);
// A write of `wanted` bytes failed (at least one byte when only the closing
// flush failed).
[[noreturn]] void failWrite(const char* what, const std::filesystem::path& name, uint64_t wanted);

// The temporary files of one build's sorts; all removed when it is done.
// Each takes a stem of its own, so that two at once in one folder (two
// lengths, or two threads) never take the same name.
struct Scratch {
    std::filesystem::path folder;
    size_t readerBytes = 1 << 20; // read buffer of each run being merged
    unsigned stem = newStem();
    unsigned next = 0;
    std::vector<std::filesystem::path> created;

    Scratch() = default;
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    ~Scratch();
    std::filesystem::path newName();
    static unsigned newStem(); // from one counter for the whole process
};

struct RecordLess {
    template <class Rec>
    bool operator()(const Rec& a, const Rec& b) const
    {
        return recordLess(a, b);
    }
};

// Runs the jobs at once, each on a thread of its own but the first, which
// runs on the caller's, and returns when all have ended. When a job throws,
// `failed` becomes true (jobs look at it when they poll, and stop) and the
// first exception is thrown here once no job runs any more. A thread the
// system will not give runs its job on the caller's thread instead.
void runTogether(const std::vector<std::function<void()>>& jobs, std::atomic<bool>& failed);

// Thrown by a job that stops because another one failed; never reaches the
// caller of runTogether.
struct JobsStopped {};

// Below this many records a part is sorted on one thread: starting a thread
// costs more than it saves.
const size_t leastRecordsPerThread = 4096;

template <class Rec>
void sortInParts(Rec* begin, Rec* end, unsigned threads, const std::function<void()>& poll,
                 std::atomic<bool>& failed)
{
    uint32_t compared = 0;
    const auto less = [&poll, &compared](const Rec& a, const Rec& b) {
        if ((++compared & 0xFFFFF) == 0 && poll)
            poll();
        return recordLess(a, b);
    };
    const size_t count = static_cast<size_t>(end - begin);
    if (threads < 2 || count < 2 * leastRecordsPerThread) {
        std::sort(begin, end, less);
        return;
    }
    // The records before the split point all sort before those after it, so
    // the two parts sort on their own, in place: no memory beyond the bound.
    const unsigned left = threads / 2;
    Rec* split = begin + count / threads * left;
    std::nth_element(begin, split, end, less);
    runTogether({[&]() { sortInParts(begin, split, left, poll, failed); },
                 [&]() { sortInParts(split, end, threads - left, poll, failed); }},
                failed);
}

// The poll each job of a parallel sort calls: the caller's poll, and a stop
// once another job has failed.
inline std::function<void()> jobsPoll(const std::function<void()>& poll, const std::atomic<bool>& failed)
{
    return [&poll, &failed]() {
        if (failed.load())
            throw JobsStopped();
        if (poll)
            poll();
    };
}

// Sorts records in memory on up to `threads` threads, calling `poll` every
// million comparisons on each: tens of millions of records take seconds, and
// a run cancelled meanwhile must not wait for the end. The order is the
// records' own, a full order, so the result is the same on any number of
// threads. When `poll` throws, the records are left in some order (one may be
// lost) and are not used again.
template <class Rec>
void sortPolled(std::vector<Rec>& records, const std::function<void()>& poll, unsigned threads = 1)
{
    std::atomic<bool> failed{false};
    const std::function<void()> pollJobs = jobsPoll(poll, failed);
    sortInParts(records.data(), records.data() + records.size(), threads, pollJobs, failed);
}

// Sorts records that are already in order of a leading part of their key
// (`sameGroup` tells two records of one leading part): each group sorts on
// its own, in the caches, rather than the whole array at once. The result is
// the one sortPolled gives. Groups are shared among the threads whole.
template <class Rec, class SameGroup>
void sortGroupsInParts(Rec* begin, Rec* end, unsigned threads, const SameGroup& sameGroup,
                       const std::function<void()>& poll, std::atomic<bool>& failed)
{
    const size_t count = static_cast<size_t>(end - begin);
    if (threads >= 2 && count >= 2 * leastRecordsPerThread) {
        const unsigned left = threads / 2;
        Rec* split = begin + count / threads * left;
        while (split < end && sameGroup(split[-1], split[0]))
            ++split;
        if (split < end) {
            runTogether({[&]() { sortGroupsInParts(begin, split, left, sameGroup, poll, failed); },
                         [&]() { sortGroupsInParts(split, end, threads - left, sameGroup, poll, failed); }},
                        failed);
            return;
        }
    }
    size_t passed = 0;
    for (Rec* group = begin; group < end;) {
        Rec* groupEnd = group + 1;
        while (groupEnd < end && sameGroup(*group, *groupEnd))
            ++groupEnd;
        sortInParts(group, groupEnd, threads, poll, failed);
        passed += static_cast<size_t>(groupEnd - group);
        if (passed >= (1 << 20) && poll) {
            passed = 0;
            poll();
        }
        group = groupEnd;
    }
}

template <class Rec, class SameGroup>
void sortGroupsPolled(std::vector<Rec>& records, const SameGroup& sameGroup, const std::function<void()>& poll,
                      unsigned threads = 1)
{
    std::atomic<bool> failed{false};
    const std::function<void()> pollJobs = jobsPoll(poll, failed);
    sortGroupsInParts(records.data(), records.data() + records.size(), threads, sameGroup, pollJobs, failed);
}

struct Run {
    std::filesystem::path name;
    uint64_t records;
};

template <class Rec>
struct RunReader {
    std::FILE* file = nullptr;
    std::filesystem::path name;
    std::vector<Rec> buffer;
    size_t position = 0;
    uint64_t left = 0;

    RunReader(const Run& run, size_t bufferBytes) : name(run.name), left(run.records)
    {
        file = openFile(name, "rb");
        if (file == nullptr)
            failFile("read temporary file", name);
        buffer.reserve(std::max<size_t>(1, bufferBytes / sizeof(Rec)));
    }
    ~RunReader()
    {
        std::fclose(file);
    }
    RunReader(const RunReader&) = delete;
    RunReader& operator=(const RunReader&) = delete;

    bool next(Rec& out)
    {
        if (position == buffer.size()) {
            if (left == 0)
                return false;
            const size_t want = static_cast<size_t>(std::min<uint64_t>(left, buffer.capacity()));
            buffer.resize(want);
            if (std::fread(buffer.data(), sizeof(Rec), want, file) != want)
                failFile("read temporary file", name);
            left -= want;
            position = 0;
        }
        out = buffer[position++];
        return true;
    }
};

// Merges sorted runs and one sorted range in memory into one sorted stream;
// with combining, records of equal key come out as one. `poll` (when there
// is one) is called every million records: merging runs on disk takes
// seconds, and a cancel must not wait for its end.
template <class Rec>
struct Merger {
    std::vector<std::unique_ptr<RunReader<Rec>>> readers;
    const Rec* memory = nullptr;
    const Rec* memoryEnd = nullptr;
    bool combining = false;
    const std::function<void()>& poll;
    uint32_t popped = 0;
    std::vector<Rec> heads;   // one per source; the memory range is the last source
    std::vector<int> heap;    // sources with a head, smallest head first

    Merger(const std::vector<Run>& runs, const Rec* begin, const Rec* end, bool combine, size_t readerBytes,
           const std::function<void()>& pollDuringMerges)
        : memory(begin), memoryEnd(end), combining(combine), poll(pollDuringMerges)
    {
        for (const Run& run : runs)
            readers.push_back(std::make_unique<RunReader<Rec>>(run, readerBytes));
        heads.resize(readers.size() + 1);
        for (int k = 0; k <= static_cast<int>(readers.size()); ++k)
            if (advance(k))
                heap.push_back(k);
        std::make_heap(heap.begin(), heap.end(), greater());
    }

    auto greater()
    {
        return [this](int a, int b) { return recordLess(heads[b], heads[a]); };
    }

    bool advance(int k)
    {
        if (k < static_cast<int>(readers.size()))
            return readers[k]->next(heads[k]);
        if (memory == memoryEnd)
            return false;
        heads[k] = *memory++;
        return true;
    }

    bool pop(Rec& out)
    {
        if (heap.empty())
            return false;
        if ((++popped & 0xFFFFF) == 0 && poll)
            poll();
        std::pop_heap(heap.begin(), heap.end(), greater());
        const int k = heap.back();
        out = heads[k];
        if (advance(k))
            std::push_heap(heap.begin(), heap.end(), greater());
        else
            heap.pop_back();
        return true;
    }

    bool next(Rec& out)
    {
        if (!pop(out))
            return false;
        while (combining && !heap.empty() && sameKey(heads[heap.front()], out)) {
            Rec more;
            pop(more);
            combine(out, more);
        }
        return true;
    }
};

template <class Rec>
struct RunWriter {
    std::FILE* file = nullptr;
    Run run;

    explicit RunWriter(Scratch& scratch)
    {
        run.name = scratch.newName();
        run.records = 0;
        file = openFile(run.name, "wb");
        if (file == nullptr)
            failFile("write temporary file", run.name);
    }
    ~RunWriter()
    {
        if (file != nullptr)
            std::fclose(file);
    }
    void write(const Rec* records, size_t count)
    {
        if (count > 0 && std::fwrite(records, sizeof(Rec), count, file) != count)
            failWrite("write temporary file", run.name, count * sizeof(Rec));
        run.records += count;
    }
    Run finish()
    {
        const int closed = std::fclose(file);
        file = nullptr;
        if (closed != 0)
            failWrite("write temporary file", run.name, 1);
        return run;
    }
};

// Sorts records in memory up to a capacity, spilling sorted runs beyond it.
template <class Rec>
struct RunSorter {
    Scratch& scratch;
    const std::function<void()>& poll;
    size_t capacity;
    bool combining;
    std::vector<Rec> buffer;
    std::vector<Run> runs;
    bool sorted = true;
    unsigned threads = 1; // that sort the buffer
    static const size_t fanIn = 64; // runs merged at once

    RunSorter(Scratch& s, const std::function<void()>& pollDuringSorts, size_t maxRecords, bool combine)
        : scratch(s), poll(pollDuringSorts), capacity(std::max<size_t>(maxRecords, 16)), combining(combine)
    {
        buffer.reserve(capacity);
    }

    void add(const Rec& record)
    {
        buffer.push_back(record);
        sorted = false;
        if (buffer.size() >= capacity)
            makeRoom();
    }

    void sortBuffer()
    {
        if (sorted)
            return;
        sortPolled(buffer, poll, threads);
        if (combining && !buffer.empty()) {
            size_t out = 0;
            for (size_t i = 1; i < buffer.size(); ++i) {
                if (sameKey(buffer[out], buffer[i]))
                    combine(buffer[out], buffer[i]);
                else
                    buffer[++out] = buffer[i];
            }
            buffer.resize(out + 1);
        }
        sorted = true;
    }

    void makeRoom()
    {
        sortBuffer();
        // Counting in memory goes on while combining frees at least half.
        if (!combining || buffer.size() > capacity / 2)
            spillBuffer();
    }

    void spillBuffer()
    {
        sortBuffer();
        RunWriter<Rec> writer(scratch);
        writer.write(buffer.data(), buffer.size());
        runs.push_back(writer.finish());
        buffer.clear();
        if (runs.size() >= fanIn)
            mergeRuns();
    }

    void mergeRuns()
    {
        RunWriter<Rec> writer(scratch);
        {
            Merger<Rec> merger(runs, nullptr, nullptr, combining, scratch.readerBytes, poll);
            Rec record;
            while (merger.next(record))
                writer.write(&record, 1);
        }
        std::error_code ignored;
        for (const Run& run : runs)
            std::filesystem::remove(run.name, ignored);
        runs.assign(1, writer.finish());
    }

    // Everything to disk, the memory released.
    void spillAll()
    {
        if (!buffer.empty())
            spillBuffer();
        std::vector<Rec>().swap(buffer);
    }

    bool spilled() const { return !runs.empty(); }

    Merger<Rec> merger()
    {
        sortBuffer();
        return Merger<Rec>(runs, buffer.data(), buffer.data() + buffer.size(), combining, scratch.readerBytes, poll);
    }
};

// A file written through a buffer; every failure throws.
struct OutputFile {
    std::FILE* file = nullptr;
    std::filesystem::path name;
    std::string buffer;
    uint64_t written = 0;

    explicit OutputFile(const std::filesystem::path& fileName);
    ~OutputFile();
    void write(const char* data, size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    void flush();
    void close();
};
