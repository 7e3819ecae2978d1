// End-to-end runs of the real program in temporary folders: the program and
// its stopword list in one folder, the files to filter in another, which is
// the current folder of the run.
#include "stopwords/filtertexts.h"
#include "stopwords/tailsplit.h"
#include "stopwords/driver.h"

#include "stopwords_helpers.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct Box {
    std::string caption, text;
};

// What a run showed: the progress label's texts in order, the message boxes
// (each answered with OK) and the exit status.
struct ProgramRun {
    std::vector<std::string> labels;
    std::vector<Box> boxes;
    bool progressWindowSeen = false;
    DWORD exitCode = 999;
};

std::string windowText(HWND window)
{
    char text[8192] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct Watch {
    DWORD processId;
    ProgramRun* run;
    std::set<HWND>* answered;
};

BOOL CALLBACK watchWindow(HWND window, LPARAM param)
{
    Watch* watch = reinterpret_cast<Watch*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != watch->processId || !IsWindowVisible(window))
        return TRUE;
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770")
        return TRUE;
    std::string caption = windowText(window);
    if (caption == "CorvaleStopwords Progress") {
        watch->run->progressWindowSeen = true;
        std::string label = windowText(GetDlgItem(window, progressLabelId));
        if (!label.empty() && (watch->run->labels.empty() || watch->run->labels.back() != label))
            watch->run->labels.push_back(label);
    } else if (watch->answered->insert(window).second) {
        watch->run->boxes.push_back({caption, windowText(GetDlgItem(window, 0xFFFF))});
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
    }
    return TRUE;
}

// Starts the program with the tail, answers its message boxes and records
// what it shows until it ends.
ProgramRun runProgram(const std::string& exe, const std::string& tail, const std::string& currentFolder)
{
    ProgramRun run;
    std::string commandLine = "\"" + exe + "\"" + (tail.empty() ? "" : " " + tail);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, currentFolder.c_str(),
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
        return run;
    }
    std::set<HWND> answered;
    Watch watch = {process.dwProcessId, &run, &answered};
    // Polled often enough to see every progress text, each shown for 100 ms;
    // the guard only keeps a hung program from hanging the tests.
    for (DWORD started = GetTickCount(); GetTickCount() - started < 120000;) {
        bool ended = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
        EnumWindows(watchWindow, reinterpret_cast<LPARAM>(&watch));
        if (ended)
            break;
        Sleep(2);
    }
    if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    GetExitCodeProcess(process.hProcess, &run.exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return run;
}

// True when every text seen is one of the expected, in order, and the last
// expected one (the summary, shown for five seconds) was seen.
testing::AssertionResult sawInOrder(const std::vector<std::string>& seen, const std::vector<std::string>& expected)
{
    size_t next = 0;
    for (const std::string& text : seen) {
        while (next < expected.size() && expected[next] != text)
            ++next;
        if (next == expected.size())
            return testing::AssertionFailure() << "unexpected or out-of-order text: " << testing::PrintToString(text);
        ++next;
    }
    if (seen.empty() || seen.back() != expected.back())
        return testing::AssertionFailure() << "the last text was not " << testing::PrintToString(expected.back());
    return testing::AssertionSuccess();
}

// A program folder with a copy of the program, and a work folder.
class StopwordsRun : public testing::Test {
protected:
    TempFolder root;
    std::string programFolder = root / "prog\\";
    std::string workFolder = root / "work\\";
    std::string exe = programFolder + "CorvaleStopwords.exe";
    void SetUp() override
    {
        CreateDirectoryA(programFolder.c_str(), nullptr);
        CreateDirectoryA(workFolder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(stopwordsExePath().c_str(), exe.c_str(), FALSE)) << stopwordsExePath();
    }
    void expectNoTemporaryFile()
    {
        EXPECT_FALSE(fileExists(workFolder + "stops.tmp"));
        EXPECT_FALSE(fileExists(programFolder + "stops.tmp"));
    }
};

} // namespace

TEST_F(StopwordsRun, HelpWithoutArguments)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    ProgramRun run = runProgram(exe, "", workFolder);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "CorvaleStopwords");
    EXPECT_EQ(run.boxes[0].text, helpText());
    EXPECT_FALSE(run.progressWindowSeen);
    EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(StopwordsRun, HelpWhenOnlyAHiddenListIsThere)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    SetFileAttributesA((programFolder + "stopwords").c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeBytes(workFolder + "a.txt", "the cat\r\n");
    ProgramRun run = runProgram(exe, "a.txt", workFolder);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, helpText());
    EXPECT_FALSE(run.progressWindowSeen);
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "the cat\r\n");
    EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(StopwordsRun, AListThatCannotBeReadEndsTheRunBeforeAnyFile)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    writeBytes(workFolder + "a.txt", "the cat\r\n");
    HANDLE held = CreateFileA((programFolder + "stopwords").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ProgramRun run = runProgram(exe, "a.txt", workFolder);
    CloseHandle(held);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "CorvaleStopwords");
    EXPECT_EQ(run.boxes[0].text.rfind("The stopword list could not be read:\r\n" + programFolder + "stopwords", 0), 0u)
        << run.boxes[0].text;
    EXPECT_TRUE(run.labels.empty());
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "the cat\r\n");
    expectNoTemporaryFile();
    EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(StopwordsRun, FiltersEveryNamedFileInPlace)
{
    ASSERT_EQ(workFolder.find(' '), std::string::npos) << "the tail below needs a folder without blanks";
    // "stopwords" wins over "stopwords.txt", which would remove "cat" lines.
    writeBytes(programFolder + "stopwords", "the\r\nof | preposition\r\n  and  \r\nThe\r\nthe\r\n");
    writeBytes(programFolder + "stopwords.txt", "cat\r\n");

    writeBytes(workFolder + "a.txt", "the cat\t12\r\ncat\tthe\r\n\r\n  \t5\r\nOf mice\t3\r\nthe,dog\t1\r\nbig  dog");
    writeBytes(workFolder + "c.txt", "salt and pepper\t9\nsalt\t4\nx\x1a" "the tail\n");
    writeBytes(workFolder + "ro.txt", "the x\r\n");
    SetFileAttributesA((workFolder + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    writeBytes(workFolder + "b.doc", "one\rtwo of us\rthree");
    CreateDirectoryA((workFolder + "sub").c_str(), nullptr);
    writeBytes(workFolder + "sub\\s.txt", "and\r\nkeep me\r\n");
    writeBytes(workFolder + "a b.dat", "of course\tx\r\nfine\tthe\r\n");
    std::string manyLines = "The end\r\n";
    for (int i = 0; i < 1233; ++i)
        manyLines += "the line\r\n";
    writeBytes(workFolder + "c.dat", manyLines + "kept\r\n");

    // Quoted names, then a dropped name with a blank and one without quotes.
    std::string tail = R"("*.txt" "b.doc" "missing.txt" "sub\*.txt" ")" + workFolder + "a b.dat\" " + workFolder + "c.dat";
    std::vector<std::string> matches;
    for (const DirectoryEntry& entry : listDirectory(workFolder + "*.txt"))
        if (isOrdinaryFile(entry))
            matches.push_back(entry.name);
    ASSERT_EQ(matches.size(), 3u);
    std::vector<std::string> names = {matches[0], "b.doc", "missing.txt", "sub\\s.txt", workFolder + "a b.dat",
                                      workFolder + "c.dat", matches[1], matches[2]};

    ProgramRun run = runProgram(exe, tail, workFolder);

    std::vector<std::string> expectedLabels = {" 5 stopwords read"};
    for (size_t i = 0; i < names.size(); ++i)
        expectedLabels.push_back("Starting file " + std::to_string(i + 1) + " of 8\r" + names[i]);
    expectedLabels.push_back("Processing complete.\r\n6 file(s) filtered.\r\n1,241 lines removed.\r\n"
                             "2 file(s) skipped (could not be read or rewritten).");
    EXPECT_TRUE(sawInOrder(run.labels, expectedLabels));
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.exitCode, 0u);

    EXPECT_EQ(readBytes(workFolder + "a.txt"), "cat\tthe\r\nOf mice\t3\r\nthe,dog\t1\r\nbig  dog\r\n");
    EXPECT_EQ(readBytes(workFolder + "c.txt"), "salt\t4\r\nx\r\n\x1a" "the tail\n");
    EXPECT_EQ(readBytes(workFolder + "ro.txt"), "the x\r\n");
    EXPECT_EQ(readBytes(workFolder + "b.doc"), "one\r\nthree\r\n");
    EXPECT_EQ(readBytes(workFolder + "sub\\s.txt"), "keep me\r\n");
    EXPECT_EQ(readBytes(workFolder + "a b.dat"), "fine\tthe\r\n");
    EXPECT_EQ(readBytes(workFolder + "c.dat"), "kept\r\n");
    EXPECT_FALSE(fileExists(workFolder + "missing.txt"));
    EXPECT_EQ(readBytes(programFolder + "stopwords.txt"), "cat\r\n");
    expectNoTemporaryFile();
}

TEST_F(StopwordsRun, ANameGivenTwiceIsFilteredTwice)
{
    writeBytes(programFolder + "stopwords.txt", "zebra\r\n");
    writeBytes(workFolder + "a.txt", "one\ntwo\n");
    ProgramRun run = runProgram(exe, "a.txt a.txt", workFolder);
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 2\ra.txt", "Starting file 2 of 2\ra.txt",
                                        "Processing complete.\r\n2 file(s) filtered.\r\n0 lines removed."}));
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "one\r\ntwo\r\n");
    expectNoTemporaryFile();
    EXPECT_EQ(run.exitCode, 0u);
}
