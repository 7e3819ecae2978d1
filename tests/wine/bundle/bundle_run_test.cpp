// Both programs run from an unpacked release zip, on the files it brings:
// the folder is given as a Unix path in CORVALE_BUNDLE (tests/scripts/
// dist_test.sh unpacks the zip and runs this program).
#include <windows.h>
#include <gtest/gtest.h>

#include "../programrun.h"
#include "makeframes/window/window.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string bundleFolder()
{
    const char* unixPath = std::getenv("CORVALE_BUNDLE");
    std::string path = std::string("Z:") + (unixPath ? unixPath : "");
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path + "\\";
}

std::string readBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string windowText(HWND window)
{
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Started {
    PROCESS_INFORMATION process = {};
    bool ok = false;
};

// Starts a program of the bundle in the bundle's folder.
Started start(const std::string& program, const std::string& tail)
{
    Started started;
    std::string exe = bundleFolder() + program;
    std::string commandLine = "\"" + exe + "\" " + tail;
    std::string folder = bundleFolder();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    started.ok = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                &startup, &started.process) != FALSE;
    return started;
}

// Waits for the program to end (the guard only keeps a hung program from
// hanging the tests) and returns its exit status.
DWORD finish(Started& started)
{
    if (WaitForSingleObject(started.process.hProcess, 120000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(started.process.hProcess, 1);
        WaitForSingleObject(started.process.hProcess, INFINITE);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(started.process.hProcess, &exitCode);
    CloseHandle(started.process.hThread);
    CloseHandle(started.process.hProcess);
    return exitCode;
}

} // namespace

TEST(Bundle, TheFilterRewritesTheSampleWithTheBundledStopwords)
{
    ASSERT_NE(std::getenv("CORVALE_BUNDLE"), nullptr) << "CORVALE_BUNDLE names the unpacked zip";
    Started started = start("CorvaleStopwords.exe", "samples\\ngrams.txt");
    ASSERT_TRUE(started.ok) << GetLastError();
    // The summary stays up for five seconds: the last label seen is it.
    std::string lastLabel;
    while (WaitForSingleObject(started.process.hProcess, 20) == WAIT_TIMEOUT) {
        if (HWND progress = findWindow(started.process.dwProcessId, "CorvaleStopwords Progress")) {
            std::string label = windowText(GetDlgItem(progress, 1001));
            if (!label.empty())
                lastLabel = label;
        }
    }
    EXPECT_EQ(finish(started), 0u);
    EXPECT_EQ(lastLabel, "Processing complete.\r\n1 file(s) filtered.\r\n29 lines removed.");
    EXPECT_EQ(readBytes(bundleFolder() + "samples\\ngrams.txt"),
              "harbour master\t301\r\n"
              "fishing boats\t288\r\n"
              "boats came back\t233\r\n"
              "grey morning light\t187\r\n"
              "tide turned early\t149\r\n"
              "gulls circled overhead\t137\r\n"
              "harbour wall\t129\r\n"
              "cold wind blew\t113\r\n"
              "wind blew hard\t110\r\n"
              "the,\t104\r\n"
              "mackerel shoals\t98\r\n"
              "shoals ran late\t95\r\n"
              "autumn storms\t90\r\n");
    EXPECT_EQ(readBytes(bundleFolder() + "stops.tmp"), "<missing>");
}

TEST(Bundle, TheBrowserOpensTheBundledSample)
{
    ASSERT_NE(std::getenv("CORVALE_BUNDLE"), nullptr) << "CORVALE_BUNDLE names the unpacked zip";
    Started started = start("CorvalePhraseFrames.exe", "samples\\corvale-sample-Freq-phraseFrames.txt");
    ASSERT_TRUE(started.ok) << GetLastError();
    HWND mainWindow = waitForWindow(started.process, "CorvalePhraseFrames Browser");
    std::string status = mainWindow ? windowText(GetDlgItem(mainWindow, 145)) : "";
    if (mainWindow)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(finish(started), 0u);
    ASSERT_NE(mainWindow, nullptr) << "the main window did not appear";
    const std::string expected = "441 phrase-frames with 1,665 variants in corvale-sample-Freq-phraseFrames.txt.";
    EXPECT_EQ(status.substr(0, expected.size()), expected);
}

TEST(Bundle, TheMakerMakesFramesFromTheBundledSamples)
{
    ASSERT_NE(std::getenv("CORVALE_BUNDLE"), nullptr) << "CORVALE_BUNDLE names the unpacked zip";
    // The samples folder as a corpus: the output goes beside it, named after it.
    Started started = start("CorvaleMakeFrames.exe", "samples");
    ASSERT_TRUE(started.ok) << GetLastError();
    HWND window = waitForWindow(started.process, makeWindowCaption);
    std::string phase;
    if (window) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(makeButtonId, BN_CLICKED), 0);
        for (DWORD begun = GetTickCount(); GetTickCount() - begun < 60000 && phase != "Finished."; Sleep(50))
            phase = windowText(GetDlgItem(window, phaseLabelId));
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    EXPECT_EQ(finish(started), 0u);
    ASSERT_NE(window, nullptr) << "the window did not appear";
    EXPECT_EQ(phase, "Finished.");
    EXPECT_NE(readBytes(bundleFolder() + "samples-Freq-phraseFrames.txt"), "<missing>");
    DeleteFileA((bundleFolder() + "samples-Alpha-phraseFrames.txt").c_str());
    DeleteFileA((bundleFolder() + "samples-Freq-phraseFrames.txt").c_str());
    DeleteFileA((bundleFolder() + "samples-Corpus.txt").c_str());
}
