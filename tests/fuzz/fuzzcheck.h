// What every fuzz target shares: a check that stops the run with a message
// (libFuzzer then keeps the input as a crash), and a reader that takes an
// input apart into option bytes and texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Not assert: the checks must also hold in builds with NDEBUG.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// Reads an input from the front. Past its end every byte reads as 0 and
// every text as empty, so any input gives a test case.
struct FuzzInput {
    const uint8_t* data;
    size_t size;

    uint8_t byte()
    {
        if (size == 0)
            return 0;
        --size;
        return *data++;
    }

    std::string take(size_t length)
    {
        if (length > size)
            length = size;
        std::string text(reinterpret_cast<const char*>(data), length);
        data += length;
        size -= length;
        return text;
    }

    // The text up to the first `end` byte, which is consumed; all the rest
    // when there is none.
    std::string takeUntil(char end)
    {
        size_t length = 0;
        while (length < size && data[length] != static_cast<uint8_t>(end))
            ++length;
        std::string text = take(length);
        if (size > 0)
            byte();
        return text;
    }

    std::string rest() { return take(size); }
};
