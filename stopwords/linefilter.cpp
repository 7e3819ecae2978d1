#include "stopwords/linefilter.h"

#include "common/win/filehandle.h"
#include "common/win/system.h"
#include "stopwords/core/inputkind.h"

#include <cstdlib>
#include <utility>
#include <exception>
#include <vector>

namespace {

const DWORD readChunkSize = 1 << 20;
// The named file is overwritten in pieces of this size.
const size_t overwriteChunkSize = 1 << 20;

bool writeAll(HANDLE file, const char* data, size_t size)
{
    while (size > 0) {
        DWORD piece = size > overwriteChunkSize ? static_cast<DWORD>(overwriteChunkSize) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

// The overwrite of the named file. A build for fault tests (never the shipped
// one) stops after CORVALE_FAIL_OVERWRITE_AFTER bytes, as a full disk would.
bool overwriteAll(HANDLE file, const char* data, size_t size)
{
#ifdef CORVALE_WRITE_FAULTS
    if (const char* limit = std::getenv("CORVALE_FAIL_OVERWRITE_AFTER")) {
        size_t allowed = static_cast<size_t>(std::strtoull(limit, nullptr, 10));
        if (allowed < size) {
            writeAll(file, data, allowed);
            return false;
        }
    }
#endif
    return writeAll(file, data, size);
}

bool rewindFile(HANDLE file)
{
    return SetFilePointer(file, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool identityOfHandle(HANDLE file, FileIdentity* identity)
{
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information))
        return false;
    identity->volumeSerial = information.dwVolumeSerialNumber;
    identity->indexHigh = information.nFileIndexHigh;
    identity->indexLow = information.nFileIndexLow;
    identity->sizeHigh = information.nFileSizeHigh;
    identity->sizeLow = information.nFileSizeLow;
    identity->created = information.ftCreationTime;
    identity->lastWritten = information.ftLastWriteTime;
    return true;
}

SkipReason protectedReason(const FileIdentity& identity, const std::vector<ProtectedFile>& protectedFiles)
{
    for (const ProtectedFile& file : protectedFiles)
        if (sameFile(file.identity, identity))
            return file.reason;
    return SkipReason::none;
}

SkipReason openFailureReason(const std::string& name, DWORD error)
{
    DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SkipReason::notFound;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return SkipReason::readOnly;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return SkipReason::locked;
    return SkipReason::cannotOpen;
}

// Opens the named file for reading and writing, for this process alone. A
// read-only file is refused write access by the open on Windows, but not
// always elsewhere (a file server, or an administrator's process under some
// systems), so the attribute itself is checked as well.
bool openInput(const std::string& name, const std::vector<ProtectedFile>& protectedFiles, SkipReason* reason,
               FileHandle& input)
{
    // Asked first without opening for use, so a protected file held open
    // (the running program) is named for what it is.
    FileIdentity identity;
    if (fileIdentityOf(name, &identity) && (*reason = protectedReason(identity, protectedFiles)) != SkipReason::none)
        return false;
    FileHandle file(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        *reason = openFailureReason(name, GetLastError());
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file.handle, &information))
        *reason = SkipReason::cannotOpen;
    else if (information.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        *reason = SkipReason::readOnly;
    else if (identityOfHandle(file.handle, &identity))
        *reason = protectedReason(identity, protectedFiles);
    if (*reason != SkipReason::none)
        return false;
    std::swap(input.handle, file.handle);
    return true;
}

// The kept text of the whole input, in memory, before anything is written.
// A file larger than the memory free is refused at once. Room for as many
// bytes as the input has is taken up front: the kept text is never longer
// than that, so it usually never moves.
SkipReason filterIntoMemory(const std::string& name, HANDLE input, const EncodedStopwordTest& isStopword,
                            LineFilter& filter, std::string& kept)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(input, &size))
        return SkipReason::readFailed;
    if (static_cast<uint64_t>(size.QuadPart) > allocatableMemory())
        return SkipReason::tooLarge;
    try {
        try {
            kept.reserve(static_cast<size_t>(size.QuadPart));
        } catch (const std::exception&) {
            // No room in one piece for that much: most lines may still be
            // removed, so the text grows as lines are kept instead.
        }
        std::vector<char> chunk(readChunkSize);
        TextEncoding encoding = TextEncoding::ansi;
        const StopwordTest isStopwordHere = [&](std::string_view word) { return isStopword(word, encoding); };
        for (uint64_t read = 0;;) {
            DWORD got = 0;
            if (!ReadFile(input, chunk.data(), readChunkSize, &got, nullptr))
                return SkipReason::readFailed;
            // Which kind of file it is shows in its name and first bytes.
            if (read == 0) {
                bool wholeFile = got >= static_cast<uint64_t>(size.QuadPart);
                switch (inputKindOf(name, std::string_view(chunk.data(), got), wholeFile)) {
                case InputKind::utf16Text:
                    return SkipReason::utf16Text;
                case InputKind::phraseFrames:
                    return SkipReason::phraseFrameFile;
                case InputKind::eightBitText:
                    break;
                }
                // Lines are split alike in ANSI and UTF-8 text; only the
                // words are read as what they are.
                encoding = encodingByMark(std::string_view(chunk.data(), got));
            }
            if (got == 0)
                break;
            read += got;
            filterBytes(filter, chunk.data(), got, isStopwordHere, kept);
        }
        finishFiltering(filter, isStopwordHere, kept);
    } catch (const std::exception&) {
        // bad_alloc or length_error: the kept text outgrew what can be held.
        return SkipReason::tooLarge;
    }
    return SkipReason::none;
}

// Writes the whole of the bytes to a new file of that name (replacing one
// a killed run may have left) and flushes them to disk.
bool writeFileToDisk(const std::string& name, const std::string& bytes, DWORD* error)
{
    FileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isOpen()) {
        *error = GetLastError();
        return false;
    }
    if (!writeAll(file.handle, bytes.data(), bytes.size()) || !FlushFileBuffers(file.handle) || !file.close()) {
        *error = GetLastError();
        file.close();
        DeleteFileA(name.c_str());
        return false;
    }
    return true;
}

// What a failed creation of the note or of the copy in the current folder
// means: held open by another program (`inUse`), a folder the user may not
// write in, or another failure.
FileFilterResult failedToCreate(DWORD error, FileOutcome inUse)
{
    FileFilterResult result;
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        result.outcome = inUse;
    else if (error == ERROR_ACCESS_DENIED || error == ERROR_PATH_NOT_FOUND || error == ERROR_WRITE_PROTECT)
        result.reason = SkipReason::folderNotWritable;
    else
        result.reason = SkipReason::temporaryNotWritten;
    return result;
}

// The folder has one place for a copy of kept lines, and a run takes it by
// holding the note open, from before the copy is written until it is
// deleted: a run that finds the note held leaves it alone, so no run ever
// writes a note beside another run's stops.tmp. A note no one holds was left
// by a stopped run; it is taken over, unless a stops.tmp is beside it, whose
// note it is. FileOutcome::filtered when the note is this run's.
FileFilterResult takeTemporaryNote(const std::string& tempName, FileHandle& note)
{
    FileFilterResult result;
    const std::string noteName = temporarySourceNoteName(tempName);
    FileHandle held(CreateFileA(noteName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held.isOpen())
        return failedToCreate(GetLastError(), FileOutcome::noteInUse);
    const bool wasThere = GetLastError() == ERROR_ALREADY_EXISTS;
    if (GetFileAttributesA(tempName.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!wasThere)
            DeleteFileA(noteName.c_str());
        result.outcome = FileOutcome::temporaryInTheWay;
        return result;
    }
    std::swap(note.handle, held.handle);
    result.outcome = FileOutcome::filtered;
    return result;
}

// Gives up the note this run holds, deleting it: deleted while still held,
// so no other run can take it in between.
void releaseTemporaryNote(const std::string& tempName, FileHandle& note)
{
    DeleteFileA(temporarySourceNoteName(tempName).c_str());
    note.close();
}

// Puts the kept text on disk as the temporary file, which must not exist,
// with the note this run holds naming the file it belongs to. A temporary
// file that exists is always complete: the text is written and flushed
// under another name first and only then renamed. On failure nothing of
// this run's is left.
FileFilterResult writeTemporaryFile(const std::string& tempName, const std::string& kept, const std::string& name,
                                    FileHandle& note)
{
    FileFilterResult result;
    const std::string partialName = partialTemporaryName(tempName);
    DWORD error = 0;
    if (!writeFileToDisk(partialName, kept, &error)) {
        releaseTemporaryNote(tempName, note);
        return failedToCreate(error, FileOutcome::partialInUse);
    }
    const std::string noteText = temporarySourceNote(fullPathOf(name), kept.size());
    if (!rewindFile(note.handle) || !writeAll(note.handle, noteText.data(), noteText.size()) ||
        !SetEndOfFile(note.handle) || !FlushFileBuffers(note.handle)) {
        DeleteFileA(partialName.c_str());
        releaseTemporaryNote(tempName, note);
        result.reason = SkipReason::temporaryNotWritten;
        return result;
    }
    if (!MoveFileExA(partialName.c_str(), tempName.c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        DeleteFileA(partialName.c_str());
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ||
            GetFileAttributesA(tempName.c_str()) != INVALID_FILE_ATTRIBUTES)
            result.outcome = FileOutcome::temporaryInTheWay; // someone else's appeared meanwhile
        else if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED)
            result.outcome = FileOutcome::partialInUse; // opened by another program once written
        else
            result.reason = SkipReason::temporaryNotWritten;
        releaseTemporaryNote(tempName, note);
        return result;
    }
    result.outcome = FileOutcome::filtered;
    return result;
}

} // namespace

std::string fullPathOf(const std::string& name)
{
    char path[MAX_PATH * 2] = "";
    DWORD length = GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return length > 0 && length < sizeof path ? std::string(path, length) : name;
}

bool sameFile(const FileIdentity& a, const FileIdentity& b)
{
    return a.volumeSerial == b.volumeSerial && a.indexHigh == b.indexHigh && a.indexLow == b.indexLow &&
           a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow && CompareFileTime(&a.created, &b.created) == 0 &&
           CompareFileTime(&a.lastWritten, &b.lastWritten) == 0;
}

bool fileIdentityOf(const std::string& name, FileIdentity* identity)
{
    // No access asked and every kind of sharing allowed: this works on a
    // file another program (or this one) holds open, even a running program.
    FileHandle file(CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.isOpen() && identityOfHandle(file.handle, identity);
}

bool fileIdentityOfWide(const wchar_t* name, FileIdentity* identity)
{
    FileHandle file(CreateFileW(name, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.isOpen() && identityOfHandle(file.handle, identity);
}

FileFilterResult filterFileInPlace(const std::string& name, const std::string& tempName,
                                   const EncodedStopwordTest& isStopword,
                                   const std::vector<ProtectedFile>& protectedFiles)
{
    FileFilterResult result;
    // Only a temporary file this run created may ever be emptied or deleted.
    if (GetFileAttributesA(tempName.c_str()) != INVALID_FILE_ATTRIBUTES) {
        result.outcome = FileOutcome::temporaryInTheWay;
        return result;
    }
    FileHandle input(INVALID_HANDLE_VALUE);
    if (!openInput(name, protectedFiles, &result.reason, input))
        return result;

    LineFilter filter;
    std::string keptText;
    result.reason = filterIntoMemory(name, input.handle, isStopword, filter, keptText);
    if (result.reason != SkipReason::none)
        return result;

    FileHandle note(INVALID_HANDLE_VALUE);
    FileFilterResult taken = takeTemporaryNote(tempName, note);
    if (taken.outcome != FileOutcome::filtered)
        return taken;
    FileFilterResult written = writeTemporaryFile(tempName, keptText, name, note);
    if (written.outcome != FileOutcome::filtered)
        return written;

    // From the first byte written the named file is only whole again once the
    // last is on disk; until then the temporary file keeps the kept text.
    bool overwritten = rewindFile(input.handle) && overwriteAll(input.handle, keptText.data(), keptText.size()) &&
                       SetEndOfFile(input.handle) && FlushFileBuffers(input.handle) && input.close();
    if (!overwritten) {
        result.outcome = FileOutcome::overwriteFailed;
        result.reason = SkipReason::overwriteFailed;
        return result;
    }
    result.linesRemoved = filter.linesRemoved;
    // The file is whole; the copy goes, then the note that names it.
    if (!DeleteFileA(tempName.c_str())) {
        result.outcome = FileOutcome::temporaryNotDeleted;
        result.deleteError = GetLastError();
        return result;
    }
    releaseTemporaryNote(tempName, note);
    result.outcome = FileOutcome::filtered;
    return result;
}
