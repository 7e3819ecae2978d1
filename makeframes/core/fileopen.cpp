#include "makeframes/core/fileopen.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <string>

#ifdef _WIN32
// The programs that use the core on Windows link the shared system layer.
#include "common/win/system.h"

#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

std::FILE* openFile(const std::filesystem::path& name, const char* mode)
{
#ifdef _WIN32
    // Windows' fopen takes names in the ANSI code page only.
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(name.c_str(), wideMode.c_str());
#else
    return std::fopen(name.c_str(), mode);
#endif
}

bool seekFile(std::FILE* file, uint64_t offset)
{
#ifdef _WIN32
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    if (offset > static_cast<uint64_t>(LONG_MAX))
        return false;
    return std::fseek(file, static_cast<long>(offset), SEEK_SET) == 0;
#endif
}

// On Windows a file the C library holds open is not shared for deletion, so
// deleting it fails while its run lives. Elsewhere deleting always works: the
// run holds an advisory lock, which the system drops when the process ends.
std::FILE* openLockFile(const std::filesystem::path& name)
{
    std::FILE* file = openFile(name, "wb");
#ifndef _WIN32
    if (file != nullptr && flock(fileno(file), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        std::fclose(file);
        errno = error;
        return nullptr;
    }
#endif
    return file;
}

bool removeUnlessHeld(const std::filesystem::path& lockFile)
{
#ifdef _WIN32
    return DeleteFileW(lockFile.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
#else
    const int descriptor = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    const bool free = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    const bool removed = free && unlink(lockFile.c_str()) == 0;
    close(descriptor);
    return removed;
#endif
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& problem)
{
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), 0))
        return true;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        problem = "it is open in another program";
        return false;
    }
    problem = systemErrorText(error);
    if (!problem.empty() && problem.back() == '.')
        problem.pop_back();
    return false;
#else
    if (std::rename(from.c_str(), to.c_str()) == 0)
        return true;
    problem = std::strerror(errno);
    return false;
#endif
}

std::string writeFailure(const std::filesystem::path& name, int error, uint64_t wanted)
{
    if (error == ENOSPC)
        return "the disk is full";
#ifdef _WIN32
    ULARGE_INTEGER available;
    const std::filesystem::path folder = name.has_parent_path() ? name.parent_path() : std::filesystem::path(L".");
    if (GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart < wanted)
        return "the disk is full";
#else
    (void)name;
    (void)wanted;
#endif
    return std::strerror(error);
}
