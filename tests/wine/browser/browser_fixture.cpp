#include "browser_fixture.h"

#include "browser/filechoice.h"
#include "browser/loader.h"
#include "common/win/dialogs.h"

#include <cstring>

const char twoFrameFile[] = "A\tf\t1\r\na1\t5\r\n\r\nB\tg\t2\r\nb1\t3\r\nb2\t1\r\n";

// Every browser variable back to its start-of-run value, so each test starts
// as a fresh process would.
static void resetBrowserState()
{
    frames.assign(1, std::string());
    frameCount = 0;
    frameMeasures = FrameMeasures();
    selectedIndex = 0;
    shownIndex = 0;
    for (int32_t& flag : sortState)
        flag = 0;
    fileIsFreqOrder = 0;
    fileCodePage = 0;
    loadedFileName.clear();
    loadedFilePath.clear();
    sortDescription.clear();
    lastPath.clear();
    tabStop = initialTabStop;
    findOptions = initialFindOptions;
}

static void removeFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeFolder(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void BrowserTest::SetUp()
{
    resetBrowserState();
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    folder = std::string(base) + "corvale-browser-" + std::to_string(GetCurrentProcessId()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    removeFolder(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    setMessageBoxAnswerer([this](const char* text, const char* caption, UINT style) {
        prompts.push_back({text, caption, style});
        return promptAnswer;
    });
    setWideOpenFileAnswerer([this](OPENFILENAMEW* ofn) -> BOOL {
        ++dialogCalls;
        dialogInitialFolder = ofn->lpstrInitialDir ? narrowText(ofn->lpstrInitialDir) : "";
        if (chosenFile.empty() && chosenWideFile.empty())
            return FALSE;
        const std::wstring chosen = chosenWideFile.empty() ? wideText(chosenFile) : chosenWideFile;
        lstrcpynW(ofn->lpstrFile, chosen.c_str(), ofn->nMaxFile);
        return TRUE;
    });
}

void BrowserTest::TearDown()
{
    if (mainWindow && IsWindow(mainWindow))
        DestroyWindow(mainWindow);
    pumpMessages();
    mainWindow = nullptr;
    browserCommandLineForTests = nullptr;
    setMessageBoxAnswerer(nullptr);
    setWideOpenFileAnswerer(nullptr);
    removeFolder(folder);
}

HWND BrowserTest::openBrowser(const std::string& commandTail)
{
    commandLine = "prog.exe " + commandTail;
    browserCommandLineForTests = commandLine.c_str();
    HWND window = createMainWindow();
    startMainWindow(window);
    pumpMessages();
    return window;
}

std::string BrowserTest::writeFile(const std::string& name, const std::string& content)
{
    std::string path = folder + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return path;
}

void BrowserTest::pumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string BrowserTest::windowText(HWND window)
{
    return ::windowText(window);
}

std::string BrowserTest::cell(int row, int column)
{
    char buffer[256] = {};
    LVITEMA item = {};
    item.iSubItem = column - 1;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(frameList, LVM_GETITEMTEXTA, row - 1, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int BrowserTest::rowCount()
{
    return static_cast<int>(SendMessageA(frameList, LVM_GETITEMCOUNT, 0, 0));
}

int BrowserTest::selectedRow()
{
    return static_cast<int>(SendMessageA(frameList, LVM_GETNEXTITEM, -1, LVNI_SELECTED)) + 1;
}

std::string BrowserTest::paneText()
{
    return windowText(variantPane);
}

void BrowserTest::selectListRow(int row)
{
    LVITEMA item = {};
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(frameList, LVM_SETITEMSTATE, row - 1, reinterpret_cast<LPARAM>(&item));
    pumpMessages();
}

void BrowserTest::clickHeading(int column)
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

void BrowserTest::command(int id)
{
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    pumpMessages();
}

void BrowserTest::stepCommand(int id)
{
    lastStepTick = GetTickCount() - 1000;
    command(id);
}

void BrowserTest::clickButton(int id, HWND window)
{
    SendDlgItemMessageA(window ? window : mainWindow, id, BM_CLICK, 0, 0);
    pumpMessages();
}

std::string BrowserTest::clipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void BrowserTest::putOnClipboard(const std::string& text)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(mainWindow)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

LONG BrowserTest::panePosition(const std::string& text)
{
    FINDTEXTA find = {};
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = text.c_str();
    return static_cast<LONG>(
        SendMessageA(variantPane, EM_FINDTEXT, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)));
}

CHARFORMATA BrowserTest::paneFormat(LONG from, LONG to)
{
    CHARRANGE range = {from, to};
    SendMessageA(variantPane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessageA(variantPane, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return format;
}
