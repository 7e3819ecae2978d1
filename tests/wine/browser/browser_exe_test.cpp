// Runs of the real program, driven from outside its process.
#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include "../programrun.h"
#include "../winepath.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

const char sampleStatus[] = "441 phrase-frames with 1,665 variants in corvale-sample-Freq-phraseFrames.txt.";

} // namespace

TEST(BrowserProgram, LoadsTheSampleNamedOnItsCommandLineAndClosesCleanly)
{
    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    ProgramRun run = runBrowserProgram(exe, "\"" + exe + "\" " + sample);

    ASSERT_TRUE(run.windowFound) << "the main window did not appear";
    EXPECT_EQ(run.status.substr(0, sizeof sampleStatus - 1), sampleStatus);
    EXPECT_NE(run.frameInfo, "");
    EXPECT_TRUE(run.endedInTime);
    EXPECT_EQ(run.exitCode, 0u);
}

// Explorer and "Open with" put a dropped path that holds a blank in double
// quotes; the program takes the name without them.
TEST(BrowserProgram, LoadsADroppedFileWhosePathHoldsABlankInQuotes)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + "corvale dropped " + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string copy = folder + "\\corvale-sample-Freq-phraseFrames.txt";
    std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    ASSERT_TRUE(CopyFileA(sample.c_str(), copy.c_str(), FALSE)) << GetLastError();

    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    ProgramRun run = runBrowserProgram(exe, "\"" + exe + "\" \"" + copy + "\"");
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());

    ASSERT_TRUE(run.windowFound) << "the main window did not appear";
    EXPECT_EQ(run.status.substr(0, sizeof sampleStatus - 1), sampleStatus);
    EXPECT_TRUE(run.endedInTime);
    EXPECT_EQ(run.exitCode, 0u);
}

// Without a file the real open-file dialog comes up before the main window;
// cancelling it leaves the window empty with the prompt.
TEST(BrowserProgram, WithoutAFileAsksWithTheOpenFileDialogFirst)
{
    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(startProgram(exe, "\"" + exe + "\"", process)) << GetLastError();

    HWND dialog = waitForWindow(process, "Select Phrase Frame file to display . . .");
    EXPECT_NE(dialog, nullptr) << "no open-file dialog";
    EXPECT_EQ(findWindow(process.dwProcessId, browserCaption), nullptr) << "the main window was shown before the dialog";
    if (dialog)
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);

    HWND mainWindow = waitForWindow(process, browserCaption);
    char status[256] = {};
    if (mainWindow) {
        GetWindowTextA(GetDlgItem(mainWindow, 145), status, sizeof status);
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";
    EXPECT_STREQ(status, "Click \"Open File\" to select a file to display");
    EXPECT_TRUE(ended);
}

namespace {

// The wide form of an ASCII path (the build's own paths are ASCII).
std::wstring wideAscii(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// The text of a control of another process, whatever its length.
std::string remoteText(HWND control)
{
    const LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    // With room to spare: the text may change between the two messages.
    std::string text(static_cast<size_t>(length) + 4096, '\0');
    const LRESULT copied = SendMessageA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(copied));
    return text;
}

// A folder of the temporary folder named in Cyrillic, which no ANSI code page
// of Western Europe has.
std::wstring cyrillicFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"\x0416\x0443\x0440\x043D\x0430\x043B " +
                          std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

struct WideRun {
    PROCESS_INFORMATION process = {};
    bool started = false;

    explicit WideRun(const std::wstring& exe, std::wstring commandLine)
    {
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        started = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                 &startup, &process) != FALSE;
    }
    ~WideRun()
    {
        if (!started)
            return;
        if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
};

} // namespace

// A file named in a script the ANSI code page lacks, given on the command
// line (dropped on the program): it loads, and is named with '?' for those
// characters.
TEST(BrowserProgram, LoadsAFileNamedOutsideTheAnsiCodePage)
{
    const std::wstring folder = cyrillicFolder();
    const std::wstring copy = folder + L"\x0414\x0430\x043D\x0438-Freq-phraseFrames.txt";
    const std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    ASSERT_TRUE(CopyFileW(wideAscii(sample).c_str(), copy.c_str(), FALSE)) << GetLastError();

    const std::wstring exe = wideAscii(windowsPath(CORVALE_BROWSER_EXE));
    std::string status;
    {
        WideRun run(exe, L"\"" + exe + L"\" \"" + copy + L"\"");
        ASSERT_TRUE(run.started) << GetLastError();
        HWND window = waitForWindow(run.process, browserCaption);
        ASSERT_NE(window, nullptr) << "the main window did not appear (a box may be waiting)";
        status = remoteText(GetDlgItem(window, 145));
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(status.substr(0, 75), "441 phrase-frames with 1,665 variants in \?\?\?\?-Freq-phraseFrames.txt.\rSelect");
}

// The program in a folder named outside the ANSI code page keeps its
// settings there, and the open-file dialog hands over a name in that
// script whole.
TEST(BrowserProgram, ChoosesAFileAndKeepsSettingsInAFolderNamedOutsideTheAnsiCodePage)
{
    const std::wstring folder = cyrillicFolder();
    const std::wstring exe = folder + L"CorvalePhraseFrames.exe";
    const std::wstring copy = folder + L"\x0414\x0430\x043D\x0438-Freq-phraseFrames.txt";
    const std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    ASSERT_TRUE(CopyFileW(wideAscii(windowsPath(CORVALE_BROWSER_EXE)).c_str(), exe.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(CopyFileW(wideAscii(sample).c_str(), copy.c_str(), FALSE)) << GetLastError();

    std::string status;
    {
        WideRun run(exe, L"\"" + exe + L"\"");
        ASSERT_TRUE(run.started) << GetLastError();
        HWND dialog = waitForWindow(run.process, "Select Phrase Frame file to display . . .");
        ASSERT_NE(dialog, nullptr) << "no open-file dialog";
        // The file name box of the dialog, then its OK button.
        SendMessageW(GetDlgItem(dialog, cmb13), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy.c_str()));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        HWND window = waitForWindow(run.process, browserCaption);
        ASSERT_NE(window, nullptr) << "the main window did not appear";
        status = remoteText(GetDlgItem(window, 145));
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    const std::wstring settings = folder + L"Corvale.cfg";
    wchar_t lastPath[MAX_PATH] = {};
    GetPrivateProfileStringW(L"Runtime", L"lastpath", L"", lastPath, MAX_PATH, settings.c_str());
    const DWORD keptFolderAttributes = GetFileAttributesW(lastPath);
    DeleteFileW(settings.c_str());
    DeleteFileW(copy.c_str());
    DeleteFileW(exe.c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_EQ(status.substr(0, 75), "441 phrase-frames with 1,665 variants in \?\?\?\?-Freq-phraseFrames.txt.\rSelect");
    // Kept in ANSI by its short name, a folder the next dialog can open.
    ASSERT_NE(lastPath[0], L'\0') << "no settings file beside the program";
    EXPECT_EQ(std::wstring(lastPath).find_first_of(L"?\x0416"), std::wstring::npos);
    EXPECT_NE(keptFolderAttributes, DWORD(INVALID_FILE_ATTRIBUTES));
    EXPECT_TRUE(keptFolderAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// The screen's pixels inside a window, as the display shows them, 32 bits
// each.
std::vector<DWORD> screenPixels(HWND window, RECT& rect)
{
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

double blackShare(const std::vector<DWORD>& pixels)
{
    size_t black = 0;
    for (DWORD pixel : pixels)
        black += (pixel & 0xFFFFFF) == 0 ? 1 : 0;
    return pixels.empty() ? 1.0 : double(black) / pixels.size();
}

// A window's black share once it has painted: a loaded machine may take a
// few seconds to paint, a window that never paints stays black throughout.
double blackShareOnceSettled(HWND window)
{
    double share = 1;
    for (DWORD begun = GetTickCount(); GetTickCount() - begun < 10000; Sleep(100)) {
        RECT rect;
        share = blackShare(screenPixels(window, rect));
        if (share < 0.5)
            break;
    }
    return share;
}

} // namespace

// A box shown while the main window is up (here the Exit confirmation) is
// painted: on the screen it is mostly not black.
TEST(BrowserProgram, BoxOverTheMainWindowIsPainted)
{
    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(startProgram(exe, "\"" + exe + "\" " + sample, process)) << GetLastError();
    HWND mainWindow = waitForWindow(process, browserCaption);
    double mainBlack = 1;
    double boxBlack = 1;
    if (mainWindow) {
        mainBlack = blackShareOnceSettled(mainWindow);
        PostMessageA(mainWindow, WM_COMMAND, 302, 0);
        if (HWND box = waitForWindow(process, "Exit Program?")) {
            boxBlack = blackShareOnceSettled(box);
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        }
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_LT(mainBlack, 0.5);
    EXPECT_LT(boxBlack, 0.5);
}

namespace {

// The program started on one command tail, ended when the run goes out of
// scope; the files it is given live in a folder of its own.
struct ProgramOnFiles {
    std::string folder;
    PROCESS_INFORMATION process = {};
    bool started = false;

    ProgramOnFiles()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder = std::string(temp) + "corvale-exe-" + std::to_string(GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    ~ProgramOnFiles()
    {
        if (started) {
            if (HWND window = findWindow(process.dwProcessId, browserCaption))
                PostMessageA(window, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        for (const std::string& file : files)
            DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    std::string write(const std::string& name, const std::string& content)
    {
        const std::string path = folder + "\\" + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        DWORD written = 0;
        WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(file);
        files.push_back(path);
        return path;
    }

    // Starts the program with this command tail after its own quoted name.
    void start(const std::string& tail)
    {
        const std::string exe = windowsPath(CORVALE_BROWSER_EXE);
        started = startProgram(exe, "\"" + exe + "\" " + tail, process);
    }

    HWND waitFor(const char* caption) { return started ? waitForWindow(process, caption) : nullptr; }

private:
    std::vector<std::string> files;
};

// The text of control id of window once test holds for it, or after 30 s
// (a message sent to the program may be answered while it is still busy in
// a nested message loop, so waiting for a reply is not enough).
// Only the first length characters are read (0: all of them), since the
// program answers every read of a large pane at length.
template <class Test>
std::string textOnceSettled(HWND window, int id, Test test, size_t length = 0)
{
    auto read = [&] {
        if (length == 0)
            return remoteText(GetDlgItem(window, id));
        std::string text(length + 1, '\0');
        const LRESULT copied = SendMessageA(GetDlgItem(window, id), WM_GETTEXT, text.size(),
                                            reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(copied));
        return text;
    };
    const DWORD start = GetTickCount();
    std::string text = read();
    while (!test(text) && GetTickCount() - start < 30000) {
        Sleep(200);
        text = read();
    }
    return text;
}

bool startsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

void clickIn(HWND window, int id)
{
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

} // namespace

// Find landing on a frame of 30,000 variants: the frame is selected, its
// pane shows the lines with the match, the Find window stays open.
TEST(BrowserProgram, FindLandsOnALargeFrame)
{
    ProgramOnFiles run;
    std::string file = "the * of\t3\t1\r\nthe end of\t3\r\n\r\na * b\t30000\t30000";
    for (int i = 0; i < 30000; ++i)
        file += "\r\na v" + std::to_string(100000 + i) + " b\t1";
    run.start(run.write("large-Freq-phraseFrames.txt", file + "\r\n"));
    HWND window = run.waitFor(browserCaption);
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, 305, 0);
    HWND find = run.waitFor("Find Text");
    ASSERT_NE(find, nullptr);
    SendMessageA(GetDlgItem(find, 410), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("v129999"));
    clickIn(find, 415);
    const std::string label = textOnceSettled(window, 144, [](const std::string& text) {
        return startsWith(text, "a * b:");
    });
    EXPECT_EQ(ListView_GetNextItem(GetDlgItem(window, 100), -1, LVNI_SELECTED), 1);
    EXPECT_EQ(label, "a * b:  rank 2, frequency 30000, variants 30000");
    auto filled = [](const std::string& text) { return startsWith(text, "a v100000 "); };
    EXPECT_TRUE(filled(textOnceSettled(window, 146, filled, 10)));
    const std::string pane = remoteText(GetDlgItem(window, 146));
    EXPECT_NE(pane.find("a v129999 b"), std::string::npos);
    EXPECT_TRUE(IsWindowVisible(find));
}

