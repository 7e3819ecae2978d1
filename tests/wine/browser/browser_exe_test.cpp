// One run of the real program, driven from outside its process.
#include <windows.h>
#include <gtest/gtest.h>

#include "../winepath.h"

#include <string>

namespace {

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

// What one run of the program showed before it was closed.
struct ProgramRun {
    bool windowFound = false;
    bool endedInTime = false;
    DWORD exitCode = 1;
    std::string status;
    std::string frameInfo;
};

// Starts the program with exactly this command line (CreateProcessA hands it
// over unchanged), waits for its main window, reads the two labels, closes it.
ProgramRun runProgram(const std::string& exe, std::string commandLine)
{
    ProgramRun run;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "CreateProcessA failed: " << GetLastError();
        return run;
    }

    WindowSearch search = {process.dwProcessId, nullptr};
    for (int waited = 0; !search.found && waited < 60000; waited += 100) {
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            break;
        EnumWindows(findProgramWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found) {
        run.windowFound = true;
        run.status = textOf(GetDlgItem(search.found, 145));
        run.frameInfo = textOf(GetDlgItem(search.found, 144));
        PostMessageA(search.found, WM_CLOSE, 0, 0);
    }
    run.endedInTime = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    if (!run.endedInTime)
        TerminateProcess(process.hProcess, 1);
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

const char sampleStatus[] = "441 phrase-frames with 1,665 variants in corvale-sample-Freq-phraseFrames.txt.";

} // namespace

TEST(BrowserProgram, LoadsTheSampleNamedOnItsCommandLineAndClosesCleanly)
{
    std::string exe = windowsPath(CORVALE_BROWSER_EXE);
    std::string sample = windowsPath(std::string(CORVALE_SAMPLES_DIR) + "/corvale-sample-Freq-phraseFrames.txt");
    ProgramRun run = runProgram(exe, "\"" + exe + "\" " + sample);

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
    ProgramRun run = runProgram(exe, "\"" + exe + "\" \"" + copy + "\"");
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());

    ASSERT_TRUE(run.windowFound) << "the main window did not appear";
    EXPECT_EQ(run.status.substr(0, sizeof sampleStatus - 1), sampleStatus);
    EXPECT_TRUE(run.endedInTime);
    EXPECT_EQ(run.exitCode, 0u);
}
