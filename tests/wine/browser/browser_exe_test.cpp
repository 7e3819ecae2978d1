// One run of the real program, driven from outside its process.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// The build passes Unix paths; Wine maps the root to drive Z:.
std::string windowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findProgramWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpA(caption, "CorvalePhraseFrames Browser beta 13 Oct 06") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string textOf(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

TEST(BrowserProgram, LoadsTheSampleNamedOnItsCommandLineAndClosesCleanly)
{
    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    std::string commandLine = "\"" + exe + "\" " + sample;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process))
        << GetLastError();

    WindowSearch search = {process.dwProcessId, nullptr};
    for (int waited = 0; !search.found && waited < 60000; waited += 100) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(findProgramWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found) {
        const std::string status = "441 phrase-frames with 1,665 variants in corvale-sample-Freq-phraseFrames.txt.";
        EXPECT_EQ(textOf(GetDlgItem(search.found, 145)).substr(0, status.size()), status);
        EXPECT_NE(textOf(GetDlgItem(search.found, 144)), "");
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    DWORD waitResult = WaitForSingleObject(process.hProcess, 30000);
    if (waitResult != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    ASSERT_TRUE(search.found) << "the main window did not appear";
    EXPECT_EQ(waitResult, WAIT_OBJECT_0);
    EXPECT_EQ(exitCode, 0u);
}
