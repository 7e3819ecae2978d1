// What a makeframes run asks of the system to keep its output safe: a lock on
// the output name for the run's whole life, and files flushed to the disk
// before they replace earlier ones. outputsafety_posix.cpp and
// outputsafety_win.cpp hold the two versions.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

// An open lock file; the system lets go of it when the process ends, however
// it ends, so a killed run never keeps its output locked.
struct OutputLock {
    intptr_t handle = -1;
    std::filesystem::path name;
};

enum class LockOutcome { taken, held, failed };

// Creates and locks `name` and writes `holder` in it. `held`: a live process
// holds it, and `text` is what that one wrote (empty when it had not yet);
// `failed`: the file cannot be made, and `text` says why.
LockOutcome takeOutputLock(const std::filesystem::path& name, const std::string& holder, OutputLock& lock,
                           std::string& text);

// Removes the lock file and lets go of it; nothing when it is not taken.
void releaseOutputLock(OutputLock& lock);

// This process's id, to tell the user which run holds an output.
unsigned long currentProcessId();

// Makes the system write what it holds of the file to the disk, so that a
// power cut after a rename finds the file whole; false when it cannot.
bool flushToDisk(const std::filesystem::path& name);
