// Opening, locking and moving a run's files, on Linux.
#include "makeframes/core/fileopen.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::FILE* openFile(const std::filesystem::path& name, const char* mode)
{
    return std::fopen(name.c_str(), mode);
}

bool seekFile(std::FILE* file, uint64_t offset)
{
    if (offset > static_cast<uint64_t>(LONG_MAX))
        return false;
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
}

// Deleting always works: the run holds an advisory lock, which the system
// drops when the process ends.
std::FILE* openLockFile(const std::filesystem::path& name)
{
    std::FILE* file = openFile(name, "wb");
    if (file != nullptr && flock(fileno(file), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        std::fclose(file);
        errno = error;
        return nullptr;
    }
    return file;
}

bool removeUnlessHeld(const std::filesystem::path& lockFile)
{
    const int descriptor = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    const bool free = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    const bool removed = free && unlink(lockFile.c_str()) == 0;
    close(descriptor);
    return removed;
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& problem)
{
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    problem = std::strerror(errno);
    return false;
}

// A full disk says ENOSPC here.
bool freeSpaceBelow(const std::filesystem::path&, uint64_t)
{
    return false;
}
