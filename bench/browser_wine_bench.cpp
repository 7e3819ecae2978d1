// browser_wine_bench: times the phrase-frame browser's real windows.
//
//   browser_wine_bench FILE
//       Builds the browser's main window in this process with FILE on its
//       command line and times the load up to the first frame shown, a sort
//       by each column, the variant pane's fill for the frame with the most
//       variants, a Find through the whole list with Match Case off and on,
//       and "Copy all as sorted"; reports the peak working set after the
//       load and at the end. The large-file prompt is answered OK.
//
//   browser_wine_bench --pane FILE [STEP...]
//       On the file that makebenchframes --pane writes, times the variant
//       pane's whole replacements: heading clicks from a 5,000-line pane to
//       row 1's 5,000 lines, "&Alpha" then "&Freq" and Freqs Right on them,
//       a search result on the 5,000 and the 50,000-line frame, showing the
//       50,000-line frame after a 5,000-line one, showing the 200,000-line
//       frame and leaving it. The steps run in this order; naming some runs
//       only those (heading alpha freq right parts search5k show50k
//       search50k show200k leave200k); parts splits a 5k replacement into
//       its calls.
//
//   browser_wine_bench --concordance FILE
//       Loads FILE (a frame file with its prefix-Corpus.txt beside it) in
//       this process and opens the concordance of the first frame, then of
//       its first variant (the pane's caret on line 1): the time to the first
//       line shown and to the end of the scan, the lines and the summary.
//
//   browser_wine_bench --exe EXE FILE
//       Starts the program EXE on FILE, answers its large-file prompt with
//       OK, times the start up to the first frame shown (main window visible,
//       frame summary label filled), reads the program's peak working set,
//       then closes it with WM_CLOSE and times its exit.
//
// Every measurement is one line: its name (44 columns), its value and its
// unit, so that bench/run can gather them into a table.
#include "browser/clipboard.h"
#include "browser/concordancewindow.h"
#include "browser/filechoice.h"
#include "browser/core/filekind.h"
#include "browser/finddialog.h"
#include "browser/core/framefile.h"
#include "browser/main.h"
#include "browser/core/sortcolumn.h"
#include "browser/state.h"
#include "browser/variantpane.h"
#include "common/win/prompts.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char programCaption[] = "CorvalePhraseFrames Browser beta 13 Oct 06";
const char promptCaption[] = "CorvalePhraseFrames";
// Occurs in no generated file: its words use neither q nor x.
const char absentText[] = "qxq xqx";

double milliseconds()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void report(const char* label, double value, const char* unit, int decimals = 1)
{
    std::printf("%-44s %12.*f %s\n", label, decimals, value, unit);
    std::fflush(stdout);
}

void reportMissing(const char* label, const char* why)
{
    std::printf("%-44s %12s %s\n", label, "n/a", why);
    std::fflush(stdout);
}

double megabytes(double bytes)
{
    return bytes / 1e6;
}

// 0 when the process cannot be asked.
double peakWorkingSet(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        return 0;
    return static_cast<double>(counters.PeakWorkingSetSize);
}

double fileSize(const std::string& fileName)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
}

void pumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string controlText(HWND window, int id)
{
    HWND control = GetDlgItem(window, id);
    int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(length + 1, '\0');
    GetWindowTextA(control, buffer.data(), length + 1);
    return std::string(buffer.data());
}

// A heading click as the list reports it; the handler sorts, repaints the
// list and refreshes row 1.
void clickHeading(int column)
{
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = frameList;
    click.hdr.idFrom = frameListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column - 1;
    SendMessageA(mainWindow, WM_NOTIFY, frameListId, reinterpret_cast<LPARAM>(&click));
    pumpMessages();
}

int32_t frameWithMostVariants(int32_t& variantCount)
{
    int32_t best = 1;
    variantCount = -1;
    for (int32_t i = 1; i <= frameCount; ++i) {
        const std::string& record = frames[static_cast<size_t>(i)];
        int32_t lines = 0;
        for (size_t at = record.find("\r\n"); at != std::string::npos; at = record.find("\r\n", at + 2))
            ++lines;
        if (lines > variantCount) {
            variantCount = lines;
            best = i;
        }
    }
    return best;
}

double recordBytes()
{
    double total = 0;
    for (int32_t i = 1; i <= frameCount; ++i)
        total += static_cast<double>(frames[static_cast<size_t>(i)].size());
    return total;
}

// Length of the CF_TEXT the clipboard holds, or -1.
double clipboardTextLength()
{
    if (!OpenClipboard(mainWindow))
        return -1;
    double length = -1;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text) {
        length = static_cast<double>(std::strlen(text));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return length;
}

// Builds the main window in this process with FILE on its command line and
// waits for its first frame; the size prompts are answered OK and counted.
// Reports the load's times; false (and says why) when there is no such file
// or no frame was loaded.
bool loadInProcess(const std::string& fileName, std::vector<std::string>& prompts, double& size)
{
    size = fileSize(fileName);
    if (size < 0) {
        std::fprintf(stderr, "browser_wine_bench: no such file: %s\n", fileName.c_str());
        return false;
    }
    setMessageBoxAnswerer([&prompts](const char* text, const char*, UINT) {
        prompts.push_back(text);
        return IDOK;
    });
    setWideOpenFileAnswerer([](OPENFILENAMEW*) -> BOOL { return FALSE; });
    static std::string commandLine;
    commandLine = "prog.exe " + fileName;
    browserCommandLineForTests = commandLine.c_str();

    std::printf("in-process run on %s\n", fileName.c_str());
    report("file size", megabytes(size), "MB", 2);
    report("peak working set before start", megabytes(peakWorkingSet(GetCurrentProcess())), "MB");

    const double start = milliseconds();
    HWND window = createMainWindow();
    const double created = milliseconds();
    startMainWindow(window);
    const double started = milliseconds();
    pumpMessages();
    UpdateWindow(window);
    while (controlText(window, frameInfoLabelId).empty() && milliseconds() - start < 600000) {
        pumpMessages();
        Sleep(1);
    }
    const double shown = milliseconds();
    if (frameCount == 0) {
        std::fprintf(stderr, "browser_wine_bench: %s loaded no frames\n", fileName.c_str());
        return false;
    }
    report("frames loaded", frameCount, "frames", 0);
    report("size prompts answered OK", static_cast<double>(prompts.size()), "prompts", 0);
    report("create main window", created - start, "ms");
    report("load and show (WM_INITDIALOG)", started - created, "ms");
    report("start to first frame shown", shown - start, "ms");
    return true;
}

int benchInProcess(const std::string& fileName)
{
    std::vector<std::string> prompts;
    double size = 0;
    if (!loadInProcess(fileName, prompts, size))
        return 1;
    const double peakAfterLoad = peakWorkingSet(GetCurrentProcess());
    report("peak working set after load", megabytes(peakAfterLoad), "MB");
    report("peak working set / file size", peakAfterLoad / size, "x", 2);
    report("records in memory (text bytes)", megabytes(recordBytes()), "MB");

    struct Click {
        int column;
        const char* label;
    };
    const Click clicks[] = {{1, "sort by Rank"},
                            {2, "sort by Phrase-Frame"},
                            {3, "sort by Frequency"},
                            {4, "sort by Variants"},
                            {3, "sort by Frequency again"}};
    // A click's time is mostly the pane: emptying what it held and filling
    // it with row 1's variants, so both sizes go in the note.
    for (const Click& click : clicks) {
        const LRESULT paneLines = SendMessageA(variantPane, EM_GETLINECOUNT, 0, 0);
        const double before = milliseconds();
        clickHeading(click.column);
        const double elapsed = milliseconds() - before;
        const std::string note = "ms  (" + sortDescription + "; pane held " + std::to_string(paneLines) +
                                 " lines, row 1 has " + headerField(frames[1], 4) + " variants)";
        report(click.label, elapsed, note.c_str());
    }

    int32_t variantCount = 0;
    const int32_t biggest = frameWithMostVariants(variantCount);
    report("frame with most variants: variant lines", variantCount, "lines", 0);
    selectedIndex = biggest;
    shownIndex = -1;
    double before = milliseconds();
    showSelected();
    pumpMessages();
    report("pane: show it (by frequency)", milliseconds() - before, "ms");

    before = milliseconds();
    SendDlgItemMessageA(mainWindow, alphaButtonId, BM_CLICK, 0, 0);
    pumpMessages();
    const bool alphaOn = SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0) == BST_CHECKED;
    report("pane: \"&Alpha\" reorders the pane", milliseconds() - before, alphaOn ? "ms" : "ms  (button stayed off)");

    // As the Open command would have classified the file, so that the refill
    // really sorts the variant lines of a frequency-ordered file.
    if (classifyFileName(shortFileName(fileName)) == fileKindFreq)
        fileIsFreqOrder = 1;
    shownIndex = -1;
    before = milliseconds();
    showSelected();
    pumpMessages();
    report("pane: refill in Alpha order", milliseconds() - before, "ms");

    // Where the pane's time goes: the rich edit taking the text, and the tab
    // stop laid over all of it.
    const std::string lines = variantLines(frames[static_cast<size_t>(biggest)]);
    before = milliseconds();
    SetWindowTextA(variantPane, lines.c_str());
    report("pane: SetWindowTextA replacing them, alone", milliseconds() - before, "ms");
    before = milliseconds();
    applyTabStop();
    report("pane: applyTabStop over them, alone", milliseconds() - before, "ms");

    // Search the whole list: from row 1, for a text found nowhere.
    selectedIndex = 1;
    shownIndex = -1;
    showSelected();
    pumpMessages();
    openFindDialog(mainWindow);
    pumpMessages();
    SetDlgItemTextA(findWindow, 410, absentText);
    const std::string notFound = std::string("\"") + absentText + "\"";
    for (bool matchCase : {false, true}) {
        findOptions = matchCase ? (findOptions | 8u) : (findOptions & ~8u);
        prompts.clear();
        before = milliseconds();
        findNext();
        pumpMessages();
        const double elapsed = milliseconds() - before;
        const bool scannedAll = prompts.size() == 1 && prompts[0].compare(0, notFound.size(), notFound) == 0;
        report(matchCase ? "find, Match Case on (whole list)" : "find, Match Case off (whole list)", elapsed,
               scannedAll ? "ms" : "ms  (no not-found prompt: did not scan to the end)");
    }

    prompts.clear();
    before = milliseconds();
    copyAllSorted(mainWindow, WM_COMMAND, MAKEWPARAM(copyAllButtonId, BN_CLICKED), 0);
    const double copyMs = milliseconds() - before;
    report("\"Copy all as sorted\"", copyMs, prompts.empty() ? "ms" : "ms  (a prompt was shown)");
    const double copied = clipboardTextLength();
    if (copied < 0)
        reportMissing("\"Copy all as sorted\": text size", "(clipboard unreadable)");
    else
        report("\"Copy all as sorted\": text size", megabytes(copied), "MB");

    // The sorts once more without the window, to tell the sort itself from
    // the repaint and the pane refresh of a heading click.
    int32_t quietSortState[5] = {0, 0, 0, 0, 0};
    std::string quietDescription;
    const char* const sortNames[] = {"", "Rank", "Phrase-Frame", "Frequency", "Variants"};
    for (int column = 1; column <= 4; ++column) {
        before = milliseconds();
        sortByColumn(frames, frameCount, quietSortState, column, quietDescription);
        const std::string label = std::string("sortByColumn alone: ") + sortNames[column];
        report(label.c_str(), milliseconds() - before, ("ms  (" + quietDescription + ")").c_str());
    }

    report("peak working set at the end", megabytes(peakWorkingSet(GetCurrentProcess())), "MB");
    before = milliseconds();
    DestroyWindow(mainWindow);
    pumpMessages();
    report("close main window (DestroyWindow)", milliseconds() - before, "ms");
    setMessageBoxAnswerer(nullptr);
    setWideOpenFileAnswerer(nullptr);
    return 0;
}

// Row n selected as a click would, with everything that follows it.
void selectListRow(int32_t row)
{
    LVITEMA item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(frameList, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&item));
    pumpMessages();
}

std::string windowTextOf(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::vector<char> buffer(length + 1, '\0');
    GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data());
}

LRESULT paneLineCount()
{
    return SendMessageA(variantPane, EM_GETLINECOUNT, 0, 0);
}

// Whether the pane's characters at the text's first occurrence are bold.
bool paneShowsBold(const char* text)
{
    FINDTEXTA find = {};
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = text;
    const LONG at = static_cast<LONG>(
        SendMessageA(variantPane, EM_FINDTEXT, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)));
    if (at < 0)
        return false;
    CHARRANGE range = {at, at + static_cast<LONG>(std::strlen(text))};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(variantPane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    CHARRANGE start = {0, 0};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    return (format.dwMask & CFM_BOLD) && (format.dwEffects & CFE_BOLD);
}

// One timed step: what the pane held before and holds after go in the note.
template <typename Action>
void timePaneStep(const char* label, Action action, const char* check = nullptr)
{
    const LRESULT before = paneLineCount();
    const double start = milliseconds();
    action();
    pumpMessages();
    const double elapsed = milliseconds() - start;
    std::string note = "ms  (pane " + std::to_string(before) + " -> " + std::to_string(paneLineCount()) + " lines";
    if (check)
        note += paneShowsBold(check) ? ", match in bold" : ", NO BOLD MATCH";
    report(label, elapsed, (note + ")").c_str());
}

void searchFor(const char* text)
{
    SetDlgItemTextA(findWindow, 410, text);
    findNext();
}

// Rows of the --pane file in its own order.
enum { fiveRow = 1, smallRow = 2, fiveMarkedRow = 3, fiftyRow = 4, twoHundredRow = 5 };

int benchPane(const std::string& fileName, const std::vector<std::string>& wanted)
{
    auto runs = [&wanted](const char* step) {
        if (wanted.empty())
            return true;
        for (const std::string& name : wanted)
            if (name == step)
                return true;
        return false;
    };
    setMessageBoxAnswerer([](const char*, const char*, UINT) { return IDOK; });
    setWideOpenFileAnswerer([](OPENFILENAMEW*) -> BOOL { return FALSE; });
    const std::string commandLine = "prog.exe " + fileName;
    browserCommandLineForTests = commandLine.c_str();
    std::printf("in-process variant pane steps on %s\n", fileName.c_str());

    double start = milliseconds();
    HWND window = createMainWindow();
    startMainWindow(window);
    pumpMessages();
    if (frameCount != 6) {
        std::fprintf(stderr, "browser_wine_bench: %s is not the --pane file of makebenchframes\n", fileName.c_str());
        return 1;
    }
    report("pane: load, row 1 shown", milliseconds() - start, "ms");
    // As the Open command sets up a frequency-ordered file.
    fileIsFreqOrder = 1;
    CheckRadioButton(mainWindow, alphaButtonId, freqButtonId, freqButtonId);

    if (runs("heading")) {
        // Rank descending, then ascending again: row 1 has 5,000 lines both times.
        timePaneStep("pane: heading click, 5k pane -> 5k row 1", [] { clickHeading(1); });
        timePaneStep("pane: heading click again, 5k -> 5k", [] { clickHeading(1); });
    }
    if (selectedIndex != fiveRow)
        selectListRow(fiveRow);
    if (runs("alpha"))
        timePaneStep("pane: \"&Alpha\" on 5k", [] { SendDlgItemMessageA(mainWindow, alphaButtonId, BM_CLICK, 0, 0); });
    if (runs("freq"))
        timePaneStep("pane: \"&Freq\" on 5k", [] { SendDlgItemMessageA(mainWindow, freqButtonId, BM_CLICK, 0, 0); });
    if (runs("right")) {
        Sleep(160);
        timePaneStep("pane: Freqs Right on 5k",
                     [] { SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(freqsRightCommandId, 0), 0); });
    }
    if (runs("parts")) {
        // Where a 5k replacement's time goes.
        const std::string lines = windowTextOf(variantPane);
        double at = milliseconds();
        emptyPane();
        report("pane parts: empty 5k (fresh pane under Wine)", milliseconds() - at, "ms");
        at = milliseconds();
        applyTabStop();
        report("pane parts: tab stop on the empty pane", milliseconds() - at, "ms");
        at = milliseconds();
        SetWindowTextA(variantPane, lines.c_str());
        report("pane parts: SetWindowTextA 5k lines", milliseconds() - at, "ms");
        at = milliseconds();
        applyTabStop();
        report("pane parts: tab stop again (unchanged)", milliseconds() - at, "ms");
        at = milliseconds();
        UpdateWindow(mainWindow);
        report("pane parts: repaint", milliseconds() - at, "ms");
    }
    openFindDialog(mainWindow);
    pumpMessages();
    if (runs("search5k")) {
        selectListRow(smallRow);
        selectListRow(fiveRow);
        timePaneStep("pane: search result on 5k (pane held 5k)", [] { searchFor("qfiveq"); }, "qfiveq");
    }
    if (runs("show50k")) {
        if (selectedIndex != fiveMarkedRow)
            selectListRow(fiveMarkedRow);
        timePaneStep("pane: show 50k frame after 5k", [] { selectListRow(fiftyRow); });
    }
    if (runs("search50k")) {
        selectListRow(smallRow);
        selectListRow(fiveRow);
        timePaneStep("pane: search result on 50k (pane held 5k)", [] { searchFor("qfiftyq"); }, "qfiftyq");
    }
    if (runs("show200k") || runs("leave200k")) {
        selectListRow(smallRow);
        timePaneStep("pane: show 200k frame (pane held 2 lines)", [] { selectListRow(twoHundredRow); });
    }
    if (runs("leave200k"))
        timePaneStep("pane: leave 200k frame for 2 lines", [] { selectListRow(smallRow); });

    start = milliseconds();
    DestroyWindow(mainWindow);
    pumpMessages();
    report("pane: close main window", milliseconds() - start, "ms");
    setMessageBoxAnswerer(nullptr);
    setWideOpenFileAnswerer(nullptr);
    return 0;
}

struct WindowQuery {
    DWORD processId;
    const char* className; // null: any class
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId)
        return TRUE;
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if (std::strcmp(text, query->caption) != 0)
        return TRUE;
    if (query->className) {
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (std::strcmp(className, query->className) != 0)
            return TRUE;
    }
    query->found = window;
    return FALSE;
}

// A top-level window of that process with this caption (and class).
HWND processWindow(DWORD processId, const char* className, const char* caption)
{
    WindowQuery query = {processId, className, caption, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// Label text read across processes; empty while the program is busy for
// longer than the timeout.
std::string remoteControlText(HWND window, int id)
{
    char text[512] = {};
    DWORD_PTR result = 0;
    HWND control = GetDlgItem(window, id);
    if (!control || !SendMessageTimeoutA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                         SMTO_NORMAL, 200, &result))
        return std::string();
    return std::string(text);
}

struct ProcessHandles {
    PROCESS_INFORMATION info = {};
    ~ProcessHandles()
    {
        if (info.hThread)
            CloseHandle(info.hThread);
        if (info.hProcess)
            CloseHandle(info.hProcess);
    }
};

int benchProgram(const std::string& exe, const std::string& fileName)
{
    const double size = fileSize(fileName);
    if (size < 0) {
        std::fprintf(stderr, "browser_wine_bench: no such file: %s\n", fileName.c_str());
        return 1;
    }
    // The browser takes its whole command tail as the file name, so the name
    // goes in without quotes.
    std::string commandLine = "\"" + exe + "\" " + fileName;
    std::vector<char> commandBuffer(commandLine.begin(), commandLine.end());
    commandBuffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ProcessHandles process;

    std::printf("real program on %s\n", fileName.c_str());
    report("file size", megabytes(size), "MB", 2);
    const double start = milliseconds();
    if (!CreateProcessA(exe.c_str(), commandBuffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process.info)) {
        std::fprintf(stderr, "browser_wine_bench: cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return 1;
    }
    const DWORD processId = process.info.dwProcessId;

    double promptShown = -1;
    double frameShown = -1;
    HWND window = nullptr;
    while (milliseconds() - start < 600000) {
        if (WaitForSingleObject(process.info.hProcess, 0) == WAIT_OBJECT_0) {
            std::fprintf(stderr, "browser_wine_bench: %s ended before showing a frame\n", exe.c_str());
            return 1;
        }
        if (promptShown < 0) {
            HWND prompt = processWindow(processId, "#32770", promptCaption);
            if (prompt) {
                promptShown = milliseconds();
                PostMessageA(prompt, WM_COMMAND, IDOK, 0);
            }
        }
        if (!window)
            window = processWindow(processId, nullptr, programCaption);
        if (window && IsWindowVisible(window) && !remoteControlText(window, frameInfoLabelId).empty()) {
            frameShown = milliseconds();
            break;
        }
        Sleep(2);
    }
    if (frameShown < 0) {
        std::fprintf(stderr, "browser_wine_bench: no frame shown within 10 minutes\n");
        TerminateProcess(process.info.hProcess, 1);
        return 1;
    }
    if (promptShown >= 0)
        report("start to size prompt (answered OK)", promptShown - start, "ms");
    else
        reportMissing("start to size prompt (answered OK)", "(no prompt)");
    report("start to first frame shown", frameShown - start, "ms");
    const double peak = peakWorkingSet(process.info.hProcess);
    if (peak > 0) {
        report("peak working set", megabytes(peak), "MB");
        report("peak working set / file size", peak / size, "x", 2);
    } else {
        char why[64];
        std::snprintf(why, sizeof why, "(GetProcessMemoryInfo failed, error %lu)", GetLastError());
        reportMissing("peak working set", why);
    }

    const double closing = milliseconds();
    PostMessageA(window, WM_CLOSE, 0, 0);
    while (IsWindowVisible(window) && milliseconds() - closing < 60000)
        Sleep(1);
    const double windowHidden = milliseconds();
    while (IsWindow(window) && milliseconds() - closing < 60000)
        Sleep(1);
    const double windowGone = milliseconds();
    if (WaitForSingleObject(process.info.hProcess, 60000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "browser_wine_bench: the program did not end after WM_CLOSE\n");
        TerminateProcess(process.info.hProcess, 1);
        return 1;
    }
    const double ended = milliseconds();
    report("WM_CLOSE to main window hidden", windowHidden - closing, "ms");
    report("WM_CLOSE to main window gone", windowGone - closing, "ms");
    report("WM_CLOSE to process ended", ended - closing, "ms");
    return 0;
}

// Opens the concordance as the button does (frameRow: as a double-click on
// the frame's row) and times it up to its first line and to its end.
void timeConcordance(const char* label, bool frameRow)
{
    const double start = milliseconds();
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(concordanceButtonId, frameRow ? 1 : 0), 0);
    const double opened = milliseconds();
    double firstLine = -1;
    while (concordanceScanRunning() && milliseconds() - start < 600000) {
        pumpMessages();
        if (firstLine < 0 && concordanceLinesShown() > 0)
            firstLine = milliseconds();
        Sleep(1);
    }
    pumpMessages();
    const double ended = milliseconds();
    std::printf("%s: %s\n", label, concordanceWindow ? controlText(concordanceWindow, concordanceSummaryId).c_str() : "");
    report("  to the window open, its files found", opened - start, "ms");
    report("  to the first line shown", (firstLine < 0 ? ended : firstLine) - start, "ms");
    report("  to the end of the scan", ended - start, "ms");
    report("  lines shown", static_cast<double>(concordanceLinesShown()), "lines", 0);
}

int benchConcordance(const std::string& fileName)
{
    std::vector<std::string> prompts;
    double size = 0;
    if (!loadInProcess(fileName, prompts, size))
        return 1;
    selectedIndex = 1;
    shownIndex = -1;
    showSelected();
    pumpMessages();
    timeConcordance("concordance of the first frame", true);
    // Without a window manager (Xvfb), Wine takes about 2 s to withdraw a
    // managed top-level window; the registry's Managed=N takes that away.
    const double closing = milliseconds();
    SendMessageA(concordanceWindow, WM_CLOSE, 0, 0);
    pumpMessages();
    report("closing its window", milliseconds() - closing, "ms");
    SendMessageA(variantPane, EM_SETSEL, 0, 0);
    timeConcordance("concordance of its first variant", false);
    for (const std::string& prompt : prompts)
        std::printf("prompt answered OK: %s\n", prompt.c_str());
    report("peak working set at the end", megabytes(peakWorkingSet(GetCurrentProcess())), "MB");
    if (concordanceWindow)
        DestroyWindow(concordanceWindow);
    pumpMessages();
    return 0;
}

int usage()
{
    std::fprintf(stderr,
                 "usage: browser_wine_bench FILE\n"
                 "       browser_wine_bench --pane FILE [STEP...]\n"
                 "       browser_wine_bench --concordance FILE\n"
                 "       browser_wine_bench --exe EXE FILE\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && argv[1][0] != '-')
        return benchInProcess(argv[1]);
    if (argc >= 3 && std::strcmp(argv[1], "--pane") == 0)
        return benchPane(argv[2], std::vector<std::string>(argv + 3, argv + argc));
    if (argc == 3 && std::strcmp(argv[1], "--concordance") == 0)
        return benchConcordance(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "--exe") == 0)
        return benchProgram(argv[2], argv[3]);
    return usage();
}
