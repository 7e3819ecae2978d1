// Opening, locking and moving a run's files, on Windows.
#include "makeframes/core/fileopen.h"

#include "common/win/system.h"

#include <windows.h>

std::FILE* openFile(const std::filesystem::path& name, const char* mode)
{
    // Windows' fopen takes names in the ANSI code page only.
    const std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(name.c_str(), wideMode.c_str());
}

bool seekFile(std::FILE* file, uint64_t offset)
{
    return _fseeki64(file, static_cast<long long>(offset), SEEK_SET) == 0;
}

// A file the C library holds open is not shared for deletion, so deleting it
// fails while its run lives.
std::FILE* openLockFile(const std::filesystem::path& name)
{
    return openFile(name, "wb");
}

bool removeUnlessHeld(const std::filesystem::path& lockFile)
{
    return DeleteFileW(lockFile.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool moveFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& problem)
{
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
}

bool freeSpaceBelow(const std::filesystem::path& name, uint64_t wanted)
{
    ULARGE_INTEGER available;
    const std::filesystem::path folder = name.has_parent_path() ? name.parent_path() : std::filesystem::path(L".");
    return GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr) && available.QuadPart < wanted;
}
