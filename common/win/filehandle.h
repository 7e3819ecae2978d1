// A file handle that is closed when it goes out of scope.
#pragma once
#include <windows.h>

struct FileHandle {
    HANDLE handle;
    explicit FileHandle(HANDLE h) : handle(h) {}
    ~FileHandle() { close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool isOpen() const { return handle != INVALID_HANDLE_VALUE; }
    // Closes now; false when the system reports a failure (for a file just
    // written, the last chance to hear of it).
    bool close()
    {
        if (!isOpen())
            return true;
        BOOL closed = CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return closed != FALSE;
    }
};
