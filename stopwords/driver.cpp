#include "stopwords/driver.h"

#include "common/cmdline.h"
#include "common/dialogs.h"
#include "common/prompts.h"
#include "stopwords/filtertexts.h"
#include "stopwords/linefilter.h"
#include "stopwords/stopwordset.h"

#include <objbase.h>

HWND progressWindow = nullptr;

namespace {

const char tempFileName[] = "stops.tmp";
const DWORD progressPauseMs = 100;
const DWORD summaryPauseMs = 5000;

INT_PTR progressCallback(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

bool isStopwordInSet(std::string_view word)
{
    return dictExists(word);
}

bool ordinaryFileExists(const std::string& path)
{
    for (const DirectoryEntry& entry : listDirectory(path))
        if (isOrdinaryFile(entry))
            return true;
    return false;
}

void endRun()
{
    if (progressWindow) {
        DestroyWindow(progressWindow);
        progressWindow = nullptr;
    }
}

} // namespace

std::string exeFolder()
{
    char path[1024] = "";
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, 1023);
    std::string folder(path, length);
    size_t lastBackslash = folder.rfind('\\');
    return lastBackslash == std::string::npos ? std::string() : folder.substr(0, lastBackslash + 1);
}

std::vector<DirectoryEntry> listDirectory(const std::string& pattern)
{
    std::vector<DirectoryEntry> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        DirectoryEntry entry;
        entry.name = found.cFileName;
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isHidden = (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0;
        entry.isSystem = (found.dwFileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0;
        entries.push_back(entry);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

std::string locateStopwordList(const std::string& folder, bool* found)
{
    std::string path = folder + "stopwords";
    *found = ordinaryFileExists(path);
    if (!*found) {
        path += ".txt";
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

int runStopwordFilter(const std::string& tail)
{
    bool listFound = false;
    std::string listPath = locateStopwordList(exeFolder(), &listFound);
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
    if (!loadStopwordList(listPath, &entriesRead, &listError)) {
        showMessageBox(nullptr,
                       stopwordListErrorText(listPath, dicObjErrorText(HRESULT_FROM_WIN32(listError))).c_str(),
                       programName, MB_OK);
        dictRelease();
        endRun();
        return 0;
    }
    showProgress(stopwordsReadText(entriesRead));

    int64_t filesFiltered = 0;
    int64_t filesSkipped = 0;
    int64_t linesRemoved = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        showProgress(startingFileText(static_cast<int64_t>(i) + 1, static_cast<int64_t>(names.size()), names[i]));
        FileFilterResult result = filterFileInPlace(names[i], tempFileName, isStopwordInSet);
        if (result.outcome == FileOutcome::filtered) {
            ++filesFiltered;
            linesRemoved += result.linesRemoved;
            continue;
        }
        ++filesSkipped;
        // The temporary file is the only whole copy of that file's kept
        // lines now; filtering the next file would overwrite it.
        if (result.outcome == FileOutcome::overwriteFailed) {
            showMessageBox(nullptr, overwriteFailedText(names[i], tempFileName).c_str(), programName, MB_OK);
            filesSkipped += static_cast<int64_t>(names.size() - i - 1);
            break;
        }
    }

    showProgress(summaryText(filesFiltered, linesRemoved, filesSkipped));
    dictRelease();
    Sleep(summaryPauseMs);
    endRun();
    return 0;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    int status = runStopwordFilter(commandTail(GetCommandLineA()));
    CoUninitialize();
    return status;
}
