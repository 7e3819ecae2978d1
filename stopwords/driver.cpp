#include "stopwords/driver.h"

#include "common/core/cmdline.h"
#include "common/win/dialogs.h"
#include "common/win/filehandle.h"
#include "common/win/holders.h"
#include "common/win/prompts.h"
#include "common/win/system.h"
#include "common/win/widetext.h"
#include "stopwords/core/filtertexts.h"
#include "stopwords/linefilter.h"
#include "stopwords/stopwordset.h"

#include <objbase.h>

#include <cstring>
#include <exception>
#include <string>
#include <vector>

HWND progressWindow = nullptr;

namespace {

const char tempFileName[] = "stops.tmp";
const DWORD progressPauseMs = 100;
const DWORD summaryPauseMs = 5000;

INT_PTR progressCallback(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

bool isStopwordInSet(std::string_view word, TextEncoding encoding)
{
    return dictExists(word, encoding);
}


void endRun()
{
    if (progressWindow) {
        DestroyWindow(progressWindow);
        progressWindow = nullptr;
    }
}

} // namespace

namespace {

bool exactAnsiForm(std::u16string_view character, std::string* ansi)
{
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(character.data());
    int length = static_cast<int>(character.size());
    char bytes[16];
    BOOL usedDefault = FALSE;
    bool utf8 = GetACP() == CP_UTF8; // takes neither the flag nor the question
    int size = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, wide, length, bytes, sizeof bytes,
                                   nullptr, utf8 ? nullptr : &usedDefault);
    if (size <= 0 || usedDefault)
        return false;
    // The way back must give the same character, whatever the system's
    // notion of best fit.
    wchar_t back[4];
    int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, size, back, 4);
    if (backLength != length || std::char_traits<wchar_t>::compare(back, wide, length) != 0)
        return false;
    ansi->assign(bytes, size);
    return true;
}

} // namespace

std::string markedAnsiText(const wchar_t* wide)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");
    return markedAnsiText(std::u16string_view(reinterpret_cast<const char16_t*>(wide)), exactAnsiForm);
}

std::string markedCommandLine()
{
    const wchar_t* commandLine = GetCommandLineW();
    return commandLine ? markedAnsiText(commandLine) : std::string(GetCommandLineA());
}

namespace {

std::vector<DirectoryEntry> listDirectoryWide(const wchar_t* pattern)
{
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        DirectoryEntry entry;
        entry.name = markedAnsiText(found.cFileName);
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isHidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.isSystem = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entries.push_back(entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return entries;
}

bool ordinaryFileExists(const std::wstring& path)
{
    for (const DirectoryEntry& entry : listDirectoryWide(path.c_str()))
        if (isOrdinaryFile(entry))
            return true;
    return false;
}

} // namespace

std::vector<DirectoryEntry> listDirectory(const std::string& pattern)
{
    return listDirectoryWide(wideText(pattern).c_str());
}

std::wstring locateStopwordList(const std::wstring& folder, bool* found)
{
    std::wstring path = folder + L"stopwords";
    *found = ordinaryFileExists(path);
    if (!*found) {
        path += L".txt";
        *found = ordinaryFileExists(path);
    }
    return path;
}

HWND createProgressWindow()
{
    HWND window = createDialogWindow(nullptr, "CorvaleStopwords Progress", 69, 76, 235, 60,
                                     WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_NOFAILCREATE |
                                         DS_3DLOOK,
                                     0, "MS Sans Serif", 8);
    if (!window)
        return nullptr;
    addControl(window, progressLabelId, "STATIC", "", 5, 5, 225, 50, WS_CHILD | WS_VISIBLE | SS_LEFT);
    showModelessDialog(window, progressCallback);
    return window;
}

void showProgress(const std::string& text)
{
    SetWindowTextA(GetDlgItem(progressWindow, progressLabelId), text.c_str());
    letOneMessageThrough(progressWindow);
    Sleep(progressPauseMs);
}

void showSkippedFiles(const std::vector<SkippedFile>& skipped)
{
    showMessageBox(nullptr, skippedFilesText(skipped).c_str(), programName, MB_OK | MB_ICONEXCLAMATION);
}

namespace {

// True when both files can be read and hold the same bytes.
bool sameBytes(const std::string& first, const std::string& second)
{
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    FileHandle a(CreateFileA(first.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
    FileHandle b(CreateFileA(second.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER sizeA, sizeB;
    if (!a.isOpen() || !b.isOpen() || !GetFileSizeEx(a.handle, &sizeA) || !GetFileSizeEx(b.handle, &sizeB) ||
        sizeA.QuadPart != sizeB.QuadPart)
        return false;
    const DWORD chunkSize = 1 << 20;
    std::vector<char> chunkA(chunkSize), chunkB(chunkSize);
    for (;;) {
        DWORD gotA = 0, gotB = 0;
        if (!ReadFile(a.handle, chunkA.data(), chunkSize, &gotA, nullptr) ||
            !ReadFile(b.handle, chunkB.data(), chunkSize, &gotB, nullptr) || gotA != gotB)
            return false;
        if (gotA == 0)
            return true;
        if (std::memcmp(chunkA.data(), chunkB.data(), gotA) != 0)
            return false;
    }
}

// The file the temporary file's note names, when the note is for it.
std::string fileTheTemporaryBelongsTo()
{
    FileHandle temp(CreateFileA(tempFileName, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER tempSize;
    if (!temp.isOpen() || !GetFileSizeEx(temp.handle, &tempSize))
        return std::string();
    // The run writing it back holds its note open for writing.
    FileHandle note(CreateFileA(temporarySourceNoteName(tempFileName).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER noteSize;
    const LONGLONG longestNote = 70000;
    if (!note.isOpen() || !GetFileSizeEx(note.handle, &noteSize) || noteSize.QuadPart > longestNote)
        return std::string();
    std::string text;
    if (readWholeFile(note.handle, static_cast<uint64_t>(noteSize.QuadPart), text) != 0)
        return std::string();
    return fileNamedByNote(text, static_cast<uint64_t>(tempSize.QuadPart));
}

// Says whose kept lines the temporary file holds and whether that file
// already holds them: a run that rewrote it whole but could not delete its
// copy, or was stopped just before, left nothing half written.
void showTemporaryInTheWay(bool atStart)
{
    const std::string belongsTo = fileTheTemporaryBelongsTo();
    const bool rewriteComplete = !belongsTo.empty() && sameBytes(tempFileName, belongsTo);
    showMessageBox(nullptr,
                   temporaryInTheWayText(fullPathOf(tempFileName), belongsTo, rewriteComplete, atStart).c_str(),
                   programName, MB_OK | MB_ICONEXCLAMATION);
}

// The stopword list and the running program: never filtered, whatever name
// leads to them.
std::vector<ProtectedFile> protectedFiles(const std::wstring& listPath)
{
    std::vector<ProtectedFile> files;
    ProtectedFile list;
    list.reason = SkipReason::stopwordList;
    if (fileIdentityOfWide(listPath.c_str(), &list.identity))
        files.push_back(list);
    wchar_t exePath[32768];
    DWORD length = GetModuleFileNameW(nullptr, exePath, 32767);
    ProtectedFile program;
    program.reason = SkipReason::program;
    if (length > 0 && length < 32767 && fileIdentityOfWide(exePath, &program.identity))
        files.push_back(program);
    return files;
}

} // namespace

int runStopwordFilter(const std::string& tail)
{
    bool listFound = false;
    std::wstring listPath = locateStopwordList(exeFolderWide(), &listFound);
    if (tail.empty() || !listFound) {
        showMessageBox(nullptr, helpText().c_str(), programName, MB_OK);
        return 0;
    }

    progressWindow = createProgressWindow();
    std::vector<std::string> names = expandWildcards(splitTailIntoNames(tail), listDirectory);

    // Filtering needs the whole set: without it no file is touched.
    if (!dictInit()) {
        endRun();
        return 0;
    }
    LONG entriesRead = 0;
    DWORD listError = 0;
    StopwordListLoad listLoad = loadStopwordList(listPath, &entriesRead, &listError, [](LONG soFar) {
        showProgress(stopwordsReadSoFarText(soFar));
    });
    if (listLoad != StopwordListLoad::loaded) {
        const std::string shownPath = markedAnsiText(listPath.c_str());
        showMessageBox(nullptr,
                       (listLoad == StopwordListLoad::utf16
                            ? stopwordListInUtf16Text(shownPath)
                            : stopwordListErrorText(shownPath, dicObjErrorText(HRESULT_FROM_WIN32(listError))))
                           .c_str(),
                       programName, MB_OK);
        dictRelease();
        endRun();
        return 0;
    }
    // A "stops.tmp" this run did not create may be the only copy of another
    // run's kept lines: it is never emptied, and nothing is done beside it.
    if (GetFileAttributesA(tempFileName) != INVALID_FILE_ATTRIBUTES) {
        showTemporaryInTheWay(true);
        dictRelease();
        endRun();
        return 0;
    }
    std::vector<ProtectedFile> unfilterable = protectedFiles(listPath);
    showProgress(stopwordsReadText(entriesRead));

    int64_t filesFiltered = 0;
    int64_t linesRemoved = 0;
    std::vector<SkippedFile> skipped;
    for (size_t i = 0; i < names.size(); ++i) {
        showProgress(startingFileText(static_cast<int64_t>(i) + 1, static_cast<int64_t>(names.size()),
                                      displayName(names[i])));
        FileFilterResult result;
        if (hasUnhandledCharacter(names[i]))
            result.reason = SkipReason::unhandledName;
        else
            result = filterFileInPlace(names[i], tempFileName, isStopwordInSet, unfilterable);
        if (result.outcome == FileOutcome::filtered || result.outcome == FileOutcome::temporaryNotDeleted) {
            ++filesFiltered;
            linesRemoved += result.linesRemoved;
        }
        if (result.outcome == FileOutcome::filtered)
            continue;
        if (result.outcome == FileOutcome::temporaryNotDeleted) {
            // Filtering the next file would need the temporary file's name.
            showMessageBox(nullptr,
                           temporaryNotDeletedText(fullPathOf(tempFileName), names[i],
                                                   systemErrorText(result.deleteError))
                               .c_str(),
                           programName, MB_OK | MB_ICONEXCLAMATION);
            for (size_t rest = i + 1; rest < names.size(); ++rest)
                skipped.push_back({names[rest], SkipReason::notTried});
            break;
        }
        if (result.outcome == FileOutcome::temporaryInTheWay) {
            showTemporaryInTheWay(false);
            result.reason = SkipReason::notTried;
        }
        if (result.outcome == FileOutcome::partialInUse) {
            showMessageBox(nullptr,
                           partialTemporaryInUseText(fullPathOf(partialTemporaryName(tempFileName)), filesFiltered == 0)
                               .c_str(),
                           programName, MB_OK | MB_ICONEXCLAMATION);
            result.reason = SkipReason::notTried;
        }
        if (result.outcome == FileOutcome::noteInUse) {
            showMessageBox(nullptr,
                           temporaryNoteInUseText(fullPathOf(temporarySourceNoteName(tempFileName)), filesFiltered == 0)
                               .c_str(),
                           programName, MB_OK | MB_ICONEXCLAMATION);
            result.reason = SkipReason::notTried;
        }
        skipped.push_back({names[i], result.reason});
        // The temporary file is the only whole copy of that file's kept
        // lines now; filtering the next file would need it.
        if (result.outcome == FileOutcome::overwriteFailed)
            showMessageBox(nullptr, overwriteFailedText(names[i], tempFileName).c_str(), programName, MB_OK);
        if (result.outcome != FileOutcome::skipped) {
            for (size_t rest = i + 1; rest < names.size(); ++rest)
                skipped.push_back({names[rest], SkipReason::notTried});
            break;
        }
    }

    showProgress(summaryText(filesFiltered, linesRemoved, countSkipped(skipped)));
    dictRelease();
    if (!skipped.empty())
        showSkippedFiles(skipped);
    Sleep(summaryPauseMs);
    endRun();
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ComInitialized com;
    try {
        runStopwordFilter(commandTail(markedCommandLine()));
    } catch (const std::exception&) {
        // Only memory can run out here; every file is whole, and a
        // "stops.tmp" left behind holds the kept lines of the file named in
        // the progress window.
        endRun();
        showMessageBox(nullptr, "CorvaleStopwords ran out of memory and stopped.", programName,
                       MB_OK | MB_ICONERROR);
    }
    return 0;
}
