#include "common/win/system.h"

#include <algorithm>
#include <stdexcept>

namespace {

std::wstring modulePathWide()
{
    std::wstring path(32768, L'\0');
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return path;
}

// Largest piece handed to one ReadFile call (its count is 32-bit).
const DWORD readPiece = 1u << 30;

} // namespace

std::string exeFolder()
{
    char path[MAX_PATH + 1] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    size_t lastBackslash = folder.rfind('\\');
    return lastBackslash == std::string::npos ? std::string() : folder.substr(0, lastBackslash + 1);
}

std::wstring exeFolderWide()
{
    std::wstring folder = modulePathWide();
    size_t lastBackslash = folder.rfind(L'\\');
    return lastBackslash == std::wstring::npos ? std::wstring() : folder.substr(0, lastBackslash + 1);
}

std::string systemMessage(DWORD error)
{
    char* buffer = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                      FORMAT_MESSAGE_FROM_SYSTEM,
                                  nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text;
    if (buffer) {
        text.assign(buffer, length);
        LocalFree(buffer);
    }
    return text;
}

std::string systemErrorText(DWORD error)
{
    std::string text = systemMessage(error);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text.empty() ? "Error " + std::to_string(error) + "." : text;
}

uint64_t availablePhysicalMemory()
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return 0;
    // A 32-bit process cannot use more than its 4 GB address space.
    const uint64_t addressableBy32Bits = 0xFFFFFFFFu;
    if (sizeof(void*) == 4)
        return std::min<uint64_t>(status.ullAvailPhys, addressableBy32Bits);
    return status.ullAvailPhys;
}

uint64_t allocatableMemory()
{
    uint64_t limit = std::string().max_size();
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status)) {
        limit = std::min<uint64_t>(limit, status.ullAvailVirtual);
        limit = std::min<uint64_t>(limit, status.ullAvailPageFile);
    }
    return limit;
}

DWORD readWholeFile(HANDLE file, uint64_t size, std::string& content)
{
    if (size > content.max_size())
        throw std::length_error("file longer than a string");
    content.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (done < content.size()) {
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(content.size() - done, readPiece));
        DWORD read = 0;
        if (!ReadFile(file, &content[done], wanted, &read, nullptr)) {
            DWORD error = GetLastError();
            content.clear();
            return error;
        }
        if (read == 0)
            break;
        done += read;
    }
    content.resize(done);
    return 0;
}
