// makeframes' word stream: the corpus's words as ids, in reading order, held
// in memory up to a limit and then in a temporary file.
#pragma once
#include "common/core/corpustext.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

// The corpus's words as ids, in reading order: each file starts with
// fileStartId, each sentence ends with sentenceEndId. Kept in memory up to a
// limit, then in a temporary file.
struct WordStream {
    std::vector<uint32_t> held;
    size_t memoryLimit = 0; // ids held in memory before the file is used
    std::filesystem::path spillName; // temporary file, used once memoryLimit is passed
    std::FILE* spill = nullptr;
    uint64_t spilledIds = 0;

    ~WordStream();
    void add(uint32_t id);
    // Ends writing; afterwards the stream is read with WordStreamReader.
    void finish();
    void release();
};

struct WordStreamReader {
    const WordStream& stream;
    std::FILE* file = nullptr;
    std::vector<uint32_t> buffer;
    size_t position = 0;
    uint64_t fileIdsLeft = 0;
    size_t heldPosition = 0;

    explicit WordStreamReader(const WordStream& stream);
    ~WordStreamReader();
    // The next id; false at the end.
    bool next(uint32_t& id);
};

// The corpus reader's ids go to the stream (CorpusReader::sendId).
void sendToWordStream(void* stream, uint32_t id, uint64_t start, uint64_t end);
inline void sendIdsTo(CorpusReader& reader, WordStream& stream)
{
    reader.sendId = sendToWordStream;
    reader.idTarget = &stream;
}
