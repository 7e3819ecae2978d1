#include "browser/concordancewindow.h"

#include "browser/core/concordance.h"
#include "browser/core/framefile.h"
#include "browser/clipboard.h"
#include "browser/filechoice.h"
#include "browser/main.h"
#include "browser/memoryguard.h"
#include "browser/state.h"
#include "browser/widedisplay.h"
#include "common/core/codepage.h"
#include "common/core/numbertext.h"
#include "common/win/dialogs.h"
#include "common/win/filehandle.h"
#include "common/win/prompts.h"
#include "common/win/system.h"
#include "common/win/widetext.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

HWND concordanceWindow;

namespace {

const char programName[] = "CorvalePhraseFrames";
// The worker's note that lines or files are ready for the window.
const UINT scanProgressMessage = WM_APP + 1;

// What the window and its worker share. The worker owns the reading; the
// window takes finished lines under the lock. The window joins the worker
// before it goes, so the job outlives both.
struct ScanJob {
    CorpusRecord record;
    ConcordanceTarget target;
    std::vector<std::wstring> paths; // per input; empty: not found
    bool countsKnown = false;        // the record is a Corpus file's, with each file's words
    HWND window = nullptr;
    std::atomic<bool> cancel{false};
    std::atomic<bool> posted{false};

    std::mutex lock;
    std::vector<ConcordanceLine> ready;
    size_t filesDone = 0;
    uint64_t found = 0;
    bool finished = false;
    std::string summary;
};

std::unique_ptr<ScanJob> job;
std::thread worker;
std::vector<ConcordanceLine> shown;
int orderChosen = -1; // a ConcordanceOrder once the user picks one; the reading order until then

std::wstring nameOfFolderSetting()
{
    return wideText(readSetting("corpusfolder", "Runtime"), CP_UTF8);
}

// The name part of a name as given, either separator.
std::wstring namePart(const std::wstring& name)
{
    return name.substr(name.find_last_of(L"\\/") + 1);
}

bool fileExists(const std::wstring& name)
{
    const DWORD attributes = GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Where each input is now: where it was read, else in the corpus folder.
size_t findInputs(ScanJob& scan, const std::wstring& folder)
{
    size_t missing = 0;
    scan.paths.assign(scan.record.inputs.size(), std::wstring());
    for (size_t k = 0; k < scan.record.inputs.size(); ++k) {
        const std::wstring full = wideText(scan.record.inputs[k].fullPath, CP_UTF8);
        const std::wstring moved = folder.empty() ? std::wstring() : folder + L"\\" + namePart(full);
        if (fileExists(full))
            scan.paths[k] = full;
        else if (!moved.empty() && fileExists(moved))
            scan.paths[k] = moved;
        else
            ++missing;
    }
    return missing;
}

// Asks for the corpus folder and keeps it beside the program.
bool askForFolder(std::wstring& folder)
{
    if (!showFolderDialog(mainWindow, L"Where is the corpus of these frames? Choose the folder that holds its files",
                          folder))
        return false;
    writeSetting(settingToWrite("corpusfolder", "Runtime", narrowText(folder, CP_UTF8)));
    return true;
}

// Without a Corpus file: every file of the folder, read as makeframes reads
// by default; their word counts are not known.
void recordOfFolder(ScanJob& scan, const std::wstring& folder)
{
    scan.record.codePage = defaultCodePage(GetACP());
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            const std::string full = narrowText(folder + L"\\" + found.cFileName, CP_UTF8);
            scan.record.inputs.push_back({full, narrowText(found.cFileName), 0, 0});
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(scan.record.inputs.begin(), scan.record.inputs.end(),
              [](const CorpusInput& a, const CorpusInput& b) { return a.fullPath < b.fullPath; });
}

// The Corpus file beside the loaded file into the job; false (after a box
// where something is wrong) when there is nothing to scan.
bool readCorpus(ScanJob& scan)
{
    const std::wstring corpusName = corpusFileFor(loadedFilePath);
    std::wstring folder = nameOfFolderSetting();
    if (corpusName.empty() || !fileExists(corpusName)) {
        if (!askForFolder(folder))
            return false;
        recordOfFolder(scan, folder);
        findInputs(scan, folder);
        return true;
    }
    FileHandle file(CreateFileW(corpusName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    LARGE_INTEGER size = {};
    std::string problem;
    if (!file.isOpen() || !GetFileSizeEx(file.handle, &size))
        problem = "it could not be opened: " + systemErrorText(GetLastError());
    else if (DWORD error = readWholeFile(file.handle, static_cast<uint64_t>(size.QuadPart), text))
        problem = "it could not be read: " + systemErrorText(error);
    else
        problem = readCorpusText(text, scan.record);
    if (problem.empty() && !isSupportedCodePage(scan.record.codePage))
        problem = "its code page, " + std::to_string(scan.record.codePage) + ", is not one makeframes writes";
    if (!problem.empty()) {
        const std::string message = "The corpus record " + narrowText(corpusName) + " cannot be used: " + problem;
        showMessageBox(nullptr, message.c_str(), programName, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    scan.countsKnown = true;
    if (findInputs(scan, folder) > 0 && askForFolder(folder))
        findInputs(scan, folder);
    return true;
}

// Hands the worker's finished lines to the window, and wakes it once.
void handOver(ScanJob& scan, ConcordanceScan& reading)
{
    {
        std::lock_guard<std::mutex> hold(scan.lock);
        for (ConcordanceLine& line : reading.lines)
            scan.ready.push_back(std::move(line));
        scan.found = reading.found;
    }
    reading.lines.clear();
    if (!scan.posted.exchange(true))
        PostMessageA(scan.window, scanProgressMessage, 0, 0);
}

void runScan(ScanJob* scan)
{
    std::vector<std::string> unread;
    size_t changed = 0;
    ConcordanceScan reading;
    reading.readAroundWords = true;
    try {
        startConcordance(reading, scan->record, scan->target);
        for (size_t k = 0; k < scan->paths.size() && !scan->cancel; ++k) {
            const std::string& given = scan->record.inputs[k].givenName;
            FileHandle file(scan->paths[k].empty()
                                ? INVALID_HANDLE_VALUE
                                : CreateFileW(scan->paths[k].c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file.isOpen()) {
                unread.push_back(given + (scan->paths[k].empty() ? " (not found)"
                                                                  : " (" + systemErrorText(GetLastError()) + ")"));
                continue;
            }
            const auto read = [&file](char* into, size_t size) -> size_t {
                DWORD got = 0;
                return ReadFile(file.handle, into, static_cast<DWORD>(size), &got, nullptr) ? got : 0;
            };
            const int64_t words = scanConcordanceFile(reading, k, read, [&] {
                handOver(*scan, reading);
                return scan->cancel.load();
            });
            if (scan->countsKnown && words != concordanceWordsNotCounted &&
                words != static_cast<int64_t>(scan->record.inputs[k].words))
                ++changed;
            // A file smaller than one piece has had no pause to hand its lines
            // over in; without this, a corpus of small files shows nothing
            // until the end.
            if (!reading.lines.empty())
                handOver(*scan, reading);
            std::lock_guard<std::mutex> hold(scan->lock);
            scan->filesDone = k + 1;
        }
    } catch (const std::bad_alloc&) {
        unread.push_back("the rest (not enough memory)");
    }
    std::string summary = concordanceSummary(reading, scan->target, changed);
    if (scan->cancel)
        summary += " (cancelled before the end)";
    if (!unread.empty()) {
        summary += ". Not read: ";
        for (size_t k = 0; k < unread.size(); ++k)
            summary += (k > 0 ? ", " : "") + unread[k];
    }
    // The last lines and the end in one step: the window that sees the end
    // has every line.
    {
        std::lock_guard<std::mutex> hold(scan->lock);
        for (ConcordanceLine& line : reading.lines)
            scan->ready.push_back(std::move(line));
        scan->found = reading.found;
        scan->summary = summary;
        scan->finished = true;
    }
    PostMessageA(scan->window, scanProgressMessage, 0, 0);
}

HWND control(int id)
{
    return GetDlgItem(concordanceWindow, id);
}

void showLineCount()
{
    SendMessageA(control(concordanceListId), LVM_SETITEMCOUNT, shown.size(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(control(concordanceListId), nullptr, FALSE);
}

void sortShown()
{
    if (orderChosen < 0)
        return;
    sortConcordance(shown, static_cast<ConcordanceOrder>(orderChosen));
    showLineCount();
}

void stopScan()
{
    if (!worker.joinable())
        return;
    job->cancel = true;
    worker.join();
}

// The worker's news: its lines, the files done, at the end the summary.
void onScanProgress()
{
    if (!worker.joinable())
        return; // a late note of a scan already shown whole
    job->posted = false;
    std::vector<ConcordanceLine> arrived;
    size_t filesDone;
    uint64_t found;
    bool finished;
    std::string summary;
    {
        std::lock_guard<std::mutex> hold(job->lock);
        arrived.swap(job->ready);
        filesDone = job->filesDone;
        found = job->found;
        finished = job->finished;
        summary = job->summary;
    }
    for (ConcordanceLine& line : arrived)
        shown.push_back(std::move(line));
    SendMessageA(control(concordanceProgressId), PBM_SETPOS, filesDone, 0);
    if (!finished) {
        const std::string text = "Reading file " + formatThousands(static_cast<int64_t>(filesDone + 1)) + " of " +
                                 formatThousands(static_cast<int64_t>(job->paths.size())) + ": " +
                                 formatThousands(static_cast<int64_t>(found)) + " lines so far";
        SetDlgItemTextA(concordanceWindow, concordanceSummaryId, text.c_str());
        showLineCount();
        return;
    }
    stopScan();
    SetDlgItemTextA(concordanceWindow, concordanceSummaryId, summary.c_str());
    EnableWindow(control(concordanceCancelId), FALSE);
    sortShown();
    showLineCount();
}

// The File column shows the file's name without its folders: a corpus given
// as a folder names each of its files with the folder's whole path, which
// would fill the column with the same text. The copy keeps the name as given.
std::string cellText(const ConcordanceLine& line, int column)
{
    switch (column) {
    case 0:
        return line.left;
    case 1:
        return line.ngram;
    case 2:
        return line.right;
    default: {
        const std::string& name = job->record.inputs[line.file].givenName;
        return name.substr(name.find_last_of("\\/") + 1);
    }
    }
}

std::string cellBytes(int itemRow, int column)
{
    const size_t row = static_cast<size_t>(itemRow);
    return row >= shown.size() ? std::string()
           : column == 0       ? formatThousands(static_cast<int64_t>(row + 1))
                               : cellText(shown[row], column - 1);
}

void onGetDispInfo(NMLVDISPINFOA* info)
{
    if (!(info->item.mask & LVIF_TEXT) || info->item.cchTextMax <= 0)
        return;
    const std::string text = cellBytes(info->item.iItem, info->item.iSubItem);
    const size_t length = std::min(text.size(), static_cast<size_t>(info->item.cchTextMax - 1));
    std::copy(text.begin(), text.begin() + length, info->item.pszText);
    info->item.pszText[length] = 0;
}

// A file shown wide has its lines shown wide too.
void onGetDispInfoWide(NMLVDISPINFOW* info)
{
    if (!(info->item.mask & LVIF_TEXT) || info->item.cchTextMax <= 0)
        return;
    const std::string text = cellBytes(info->item.iItem, info->item.iSubItem);
    writeWideCell(text.c_str(), info->item.pszText, static_cast<size_t>(info->item.cchTextMax));
}

INT_PTR onNotify(LPARAM lParam)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->idFrom == concordanceListId && header->code == LVN_GETDISPINFOA)
        onGetDispInfo(reinterpret_cast<NMLVDISPINFOA*>(lParam));
    else if (header->idFrom == concordanceListId && header->code == LVN_GETDISPINFOW)
        onGetDispInfoWide(reinterpret_cast<NMLVDISPINFOW*>(lParam));
    return 0;
}

INT_PTR onCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    if (id == concordanceCancelId) {
        job->cancel = true;
    } else if (id == concordanceCopyId) {
        runWithMemoryGuard(noMemoryToCopy, [] { copyToClipboard(concordanceCopyText(shown, job->record)); });
    } else if (id >= concordanceBySlotId && id <= concordanceByFileId) {
        orderChosen = id - concordanceBySlotId;
        runWithMemoryGuard(noMemoryToCopy, sortShown);
    } else if (id == IDCANCEL) {
        DestroyWindow(concordanceWindow);
    } else {
        return 0;
    }
    return 1;
}

void onDestroy()
{
    stopScan();
    std::vector<ConcordanceLine>().swap(shown);
    job.reset();
    concordanceWindow = nullptr;
}

INT_PTR concordanceWindowCallback(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return 1;
    case WM_NOTIFY:
        return onNotify(lParam);
    case WM_NOTIFYFORMAT:
        return answerNotifyFormat(window);
    case WM_COMMAND:
        return onCommand(wParam);
    case WM_CLOSE:
        DestroyWindow(concordanceWindow);
        return 1;
    case WM_DESTROY:
        onDestroy();
        return 0;
    default:
        if (message == scanProgressMessage)
            onScanProgress();
        return 0;
    }
}

void addListColumns(HWND list)
{
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    RECT rect;
    GetClientRect(list, &rect);
    const int width = rect.right - GetSystemMetrics(SM_CXVSCROLL);
    // A list's first column is always drawn left-aligned: the line numbers
    // go there, so the left context can stand right-aligned against the n-gram.
    const struct {
        const char* heading;
        int format;
        int percent;
    } columns[] = {{"#", LVCFMT_LEFT, 6},    {"Left", LVCFMT_RIGHT, 32}, {"N-gram", LVCFMT_CENTER, 20},
                   {"Right", LVCFMT_LEFT, 32}, {"File", LVCFMT_LEFT, 10}};
    for (int c = 0; c < 5; ++c) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = columns[c].format;
        column.cx = width * columns[c].percent / 100;
        column.pszText = const_cast<char*>(columns[c].heading);
        column.iSubItem = c;
        SendMessageA(list, LVM_INSERTCOLUMNA, c, reinterpret_cast<LPARAM>(&column));
    }
}

WNDPROC narrowWindowProc;

// A file shown wide has its caption kept and drawn wide: the window's own
// procedure is narrow and would lose the letters the system's code page lacks.
LRESULT CALLBACK wideCaptionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT || message == WM_GETTEXT || message == WM_GETTEXTLENGTH)
        return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(narrowWindowProc, window, message, wParam, lParam);
}

void createConcordanceWindow(const std::string& caption)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_3DLOOK;
    HWND window = createDialogWindow(mainWindow, caption.c_str(), 0, 0, 520, 300, style, 0, "MS Sans Serif", 8);
    concordanceWindow = window;
    setDialogBackground(window, bgColor);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    addControl(window, concordanceSummaryId, "STATIC", "Reading the corpus...", 6, 4, 508, 18, child | SS_LEFT);
    addControl(window, concordanceProgressId, PROGRESS_CLASSA, "", 6, 24, 250, 10, child);
    const DWORD option = child | WS_TABSTOP | BS_AUTORADIOBUTTON | BS_PUSHLIKE;
    const char* orders[] = {"By &slot word", "By &left word", "By &right word", "By &file"};
    for (int k = 0; k < 4; ++k)
        addControl(window, concordanceBySlotId + k, "BUTTON", orders[k], 262 + 50 * k, 22, 48, 13,
                   option | (k == 0 ? WS_GROUP : 0));
    addControl(window, concordanceCopyId, "BUTTON", "&Copy", 466, 22, 48, 13, child | WS_TABSTOP | BS_PUSHBUTTON);
    HWND list = addControl(window, concordanceListId, WC_LISTVIEWA, "", 6, 40, 508, 236,
                           child | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA, WS_EX_CLIENTEDGE);
    addControl(window, concordanceCancelId, "BUTTON", "Cancel", 466, 280, 48, 14, child | WS_TABSTOP | BS_PUSHBUTTON);
    setControlBackground(window, concordanceSummaryId, bgColor);
    addListColumns(list);
    if (fileShownWide()) {
        narrowWindowProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wideCaptionProc)));
        SetWindowTextW(window, shownWide(caption).c_str());
    }
}

// The variant line under the pane's caret; empty when the caret is not on one.
std::string paneLineAtCaret()
{
    CHARRANGE selection = {};
    SendMessageA(variantPane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    const LRESULT line = SendMessageA(variantPane, EM_EXLINEFROMCHAR, 0, selection.cpMin);
    if (fileShownWide()) {
        // The pane's narrow lines lack the letters the system's code page lacks.
        const std::string text = paneFileBytes();
        size_t start = 0;
        for (LRESULT k = 0; k < line; ++k) {
            const size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                return std::string();
            start = end + 2;
        }
        return text.substr(start, text.find("\r\n", start) - start);
    }
    char text[2048];
    *reinterpret_cast<WORD*>(text) = sizeof text - 1;
    const LRESULT length = SendMessageA(variantPane, EM_GETLINE, line, reinterpret_cast<LPARAM>(text));
    std::string result(text, static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(length, sizeof text - 1))));
    return result.substr(0, result.find_first_of("\r\n"));
}

void openConcordance(bool variantAtCaret)
{
    if (selectedIndex < 1 || selectedIndex > frameCount) {
        showMessageBox(nullptr, "Please select a phrase frame, then click the \"Concordance\" button.", programName,
                       MB_OK | MB_ICONHAND);
        return;
    }
    const std::string& record = frames[selectedIndex];
    auto scan = std::make_unique<ScanJob>();
    const std::string line = variantAtCaret ? paneLineAtCaret() : std::string();
    if (!(variantAtCaret && variantTarget(record, line, scan->target)) && !frameTarget(record, scan->target)) {
        showMessageBox(nullptr, "This is not a phrase frame with a slot \"*\" and its variants, so it has no "
                                "concordance.",
                       programName, MB_OK | MB_ICONHAND);
        return;
    }
    if (!readCorpus(*scan))
        return;
    if (concordanceWindow)
        DestroyWindow(concordanceWindow);
    std::string phrase;
    for (size_t k = 0; k < scan->target.words.size(); ++k)
        phrase += (k > 0 ? " " : "") +
                  (k == scan->target.slot && !scan->target.isFrame ? scan->target.slotWords[0] : scan->target.words[k]);
    createConcordanceWindow("Concordance of \"" + phrase + "\"");
    SendMessageA(control(concordanceProgressId), PBM_SETRANGE32, 0, static_cast<LPARAM>(scan->paths.size()));
    scan->window = concordanceWindow;
    job = std::move(scan);
    orderChosen = -1;
    showModelessDialog(concordanceWindow, concordanceWindowCallback);
    // The list asked for its notices' form before the window had its callback.
    if (fileShownWide())
        SendMessageA(control(concordanceListId), WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(concordanceWindow),
                     NF_REQUERY);
    worker = std::thread(runScan, job.get());
}

} // namespace

INT_PTR concordanceCommand(HWND, UINT, WPARAM wParam, LPARAM)
{
    // The button and a double-click in the pane look at the caret's line; a
    // double-click on a frame row means the whole frame.
    const bool variantAtCaret = HIWORD(wParam) != 1;
    runWithMemoryGuard(noMemoryToShow, [variantAtCaret] { openConcordance(variantAtCaret); });
    return 0;
}

size_t concordanceLinesShown()
{
    return shown.size();
}

bool concordanceScanRunning()
{
    return worker.joinable();
}

std::string concordanceCell(size_t row, int column)
{
    return row < shown.size() ? cellText(shown[row], column) : std::string();
}
