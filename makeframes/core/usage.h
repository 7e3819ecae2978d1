// What makeframes says about its own command line: the help, and the option
// a mistyped one was most likely meant to be.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Every option makeframes takes, as typed.
extern const std::vector<std::string> makeFramesOptions;

// The help: how to call it, each option, and the files it writes.
std::string makeFramesHelp();

// The name among `names` that `typed` is nearest to (fewest letters added,
// dropped, changed or two neighbours swapped; the first of equals), or an
// empty text when none is near enough to be what was meant.
std::string nearestName(const std::string& typed, const std::vector<std::string>& names);

// The memory bound when -mem is not given, from the machine's physical memory
// (0: unknown) and the size of a pointer: half the memory, so that a large
// corpus is sorted in memory rather than on disk, and 1G at least; a 32-bit
// program has 2G of address space at most, so 1G there.
uint64_t defaultMemoryBytes(uint64_t physicalBytes, size_t pointerBytes = sizeof(void*));
