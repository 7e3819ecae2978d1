// Runs of the real program, driven from outside its process.
#include <windows.h>
#include <gtest/gtest.h>

#include "../programrun.h"
#include "../winepath.h"

#include <string>

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
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process))
        << GetLastError();

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
