// What a run asks of the system to keep its output safe, on Windows.
#include "makeframes/outputsafety.h"

#include "common/win/system.h"

#include <windows.h>

LockOutcome takeOutputLock(const std::filesystem::path& name, const std::string& holder, OutputLock& lock,
                           std::string& text)
{
    // Shared for reading only, so that a second run cannot open it to write;
    // deleted by the system when the handle closes, however the run ends.
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_ALWAYS, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        text.clear();
        // A file about to be deleted by a holder that just let go refuses
        // access as well (the next run finds it gone); a folder that cannot
        // be written in refuses it for a file that is not there.
        const bool there = GetFileAttributesW(name.c_str()) != INVALID_FILE_ATTRIBUTES ||
                           GetLastError() != ERROR_FILE_NOT_FOUND;
        if (error == ERROR_SHARING_VIOLATION || (error == ERROR_ACCESS_DENIED && there)) {
            const HANDLE held = CreateFileW(name.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, 0, nullptr);
            if (held != INVALID_HANDLE_VALUE) {
                char buffer[256];
                DWORD got = 0;
                if (ReadFile(held, buffer, sizeof buffer, &got, nullptr))
                    text.assign(buffer, got);
                CloseHandle(held);
            }
            return LockOutcome::held;
        }
        text = systemErrorText(error);
        return LockOutcome::failed;
    }
    DWORD written = 0;
    if (!SetEndOfFile(file) || !WriteFile(file, holder.data(), static_cast<DWORD>(holder.size()), &written, nullptr) ||
        written != holder.size()) {
        text = systemErrorText(GetLastError());
        CloseHandle(file);
        return LockOutcome::failed;
    }
    lock.handle = reinterpret_cast<intptr_t>(file);
    lock.name = name;
    return LockOutcome::taken;
}

void releaseOutputLock(OutputLock& lock)
{
    if (lock.handle == -1)
        return;
    CloseHandle(reinterpret_cast<HANDLE>(lock.handle));
    lock.handle = -1;
}

unsigned long currentProcessId()
{
    return GetCurrentProcessId();
}

bool flushToDisk(const std::filesystem::path& name)
{
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}
