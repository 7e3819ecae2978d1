// Opening files by std::filesystem::path with the C library, so that names
// outside the ANSI code page work on Windows, and seeking beyond 2 GB where
// `long` has 32 bits. makeframes/fileopen_posix.cpp and fileopen_win.cpp hold
// the system's side of each.
#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

// std::fopen with the path's own characters; null with errno set on failure.
std::FILE* openFile(const std::filesystem::path& name, const char* mode);

// Moves to `offset` from the start; false on failure.
bool seekFile(std::FILE* file, uint64_t offset);

// A run's scratch folder holds a lock file open for the run's whole life, so
// that a later run tells the folder of a run still working from one a killed
// run left behind. Opens and locks it; null with errno set on failure.
std::FILE* openLockFile(const std::filesystem::path& name);

// Removes the lock file unless a live run holds it; true when it is gone.
bool removeUnlessHeld(const std::filesystem::path& lockFile);

// Renames a file to a name in the same volume that does not exist; false when
// it cannot, with the reason for the user in `problem` (on Windows "it is
// open in another program" when another program holds the file).
bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& problem);

// Why writing `wanted` bytes to `name` failed, for the user, from the errno
// the failure left: "the disk is full" when it is (Wine's C library says
// "Invalid argument" then, so on Windows the volume's free space decides).
std::string writeFailure(const std::filesystem::path& name, int error, uint64_t wanted);

// Whether the volume `name` is written to has fewer than `wanted` bytes free,
// as far as the system tells.
bool freeSpaceBelow(const std::filesystem::path& name, uint64_t wanted);
