// Opening files by std::filesystem::path with the C library, so that names
// outside the ANSI code page work on Windows, and seeking beyond 2 GB where
// `long` has 32 bits.
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>

// std::fopen with the path's own characters; null with errno set on failure.
std::FILE* openFile(const std::filesystem::path& name, const char* mode);

// Moves to `offset` from the start; false on failure.
bool seekFile(std::FILE* file, uint64_t offset);
