#include "stopwords/linefilter.h"

#include "common/filehandle.h"

#include <windows.h>

#include <exception>
#include <vector>

namespace {

const DWORD readChunkSize = 1 << 20;
// Kept lines are written to the temporary file in pieces of about this size.
const size_t writeChunkSize = 1 << 20;

bool writeAll(HANDLE file, const char* data, size_t size)
{
    while (size > 0) {
        DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool readAll(HANDLE file, char* data, size_t size)
{
    while (size > 0) {
        DWORD piece = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(file, data, piece, &got, nullptr) || got == 0)
            return false;
        data += got;
        size -= got;
    }
    return true;
}

bool rewindFile(HANDLE file)
{
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

// Streams the input through the filter into the temporary file and flushes
// it. Returns the number of bytes written, or -1 on failure.
int64_t writeKeptLines(HANDLE input, HANDLE temp, LineFilter& filter, const StopwordTest& isStopword)
{
    std::vector<char> chunk(readChunkSize);
    std::string kept;
    kept.reserve(writeChunkSize + readChunkSize * 2);
    int64_t written = 0;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, chunk.data(), readChunkSize, &got, nullptr))
            return -1;
        if (got == 0)
            break;
        filterBytes(filter, chunk.data(), got, isStopword, kept);
        if (kept.size() >= writeChunkSize) {
            if (!writeAll(temp, kept.data(), kept.size()))
                return -1;
            written += static_cast<int64_t>(kept.size());
            kept.clear();
        }
    }
    finishFiltering(filter, isStopword, kept);
    if (!writeAll(temp, kept.data(), kept.size()) || !FlushFileBuffers(temp))
        return -1;
    return written + static_cast<int64_t>(kept.size());
}

// Reads the whole temporary file back, checking it holds what was written.
bool readKeptText(HANDLE temp, int64_t expectedSize, std::string& text)
{
    DWORD high = 0;
    DWORD low = GetFileSize(temp, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    int64_t size = (static_cast<int64_t>(high) << 32) | low;
    if (size != expectedSize || static_cast<uint64_t>(size) > text.max_size() || !rewindFile(temp))
        return false;
    text.resize(static_cast<size_t>(size));
    return readAll(temp, &text[0], text.size());
}

// Opens a file for reading and writing, for this process alone. A read-only
// file is refused write access by the open on Windows, but not always
// elsewhere (a file server, or an administrator's process under some
// systems), so the attribute itself is checked as well.
HANDLE openWritable(const std::string& name, DWORD disposition)
{
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

} // namespace

FileFilterResult filterFileInPlace(const std::string& name, const std::string& tempName,
                                   const StopwordTest& isStopword)
{
    FileFilterResult result;
    FileHandle input(openWritable(name, OPEN_EXISTING));
    if (!input.isOpen())
        return result;
    // The temporary file is emptied only once it is known to be writable.
    FileHandle temp(openWritable(tempName, OPEN_ALWAYS));
    if (!temp.isOpen() || !SetEndOfFile(temp.handle))
        return result;

    LineFilter filter;
    std::string keptText;
    bool readBack = false;
    try {
        int64_t written = writeKeptLines(input.handle, temp.handle, filter, isStopword);
        readBack = written >= 0 && readKeptText(temp.handle, written, keptText);
    } catch (const std::exception&) {
        // Out of memory for the kept text: the file stays as it was.
        readBack = false;
    }
    if (!readBack) {
        temp.close();
        DeleteFileA(tempName.c_str());
        return result;
    }

    // From the first byte written the named file is only whole again once the
    // last is written; until then the temporary file keeps the kept text.
    bool overwritten = rewindFile(input.handle) && writeAll(input.handle, keptText.data(), keptText.size()) &&
                       SetEndOfFile(input.handle) && input.close();
    temp.close();
    if (!overwritten) {
        result.outcome = FileOutcome::overwriteFailed;
        return result;
    }
    DeleteFileA(tempName.c_str());
    result.outcome = FileOutcome::filtered;
    result.linesRemoved = filter.linesRemoved;
    return result;
}
