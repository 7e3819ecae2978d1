// End-to-end runs of the real program in temporary folders: the program and
// its stopword list in one folder, the files to filter in another, which is
// the current folder of the run.
#include "common/core/numbertext.h"
#include "stopwords/core/filtertexts.h"
#include "stopwords/core/tailsplit.h"
#include "stopwords/core/textlines.h"
#include "stopwords/driver.h"

#include "stopwords_helpers.h"
#include "tests/support/filtertext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
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

std::wstring wideOf(const std::string& text)
{
    return widePath(text, L"");
}

// Starts the program with the tail and returns its process, or null.
HANDLE startProgram(const std::wstring& exe, const std::wstring& tail, const std::string& currentFolder)
{
    std::wstring commandLine = L"\"" + exe + L"\"" + (tail.empty() ? L"" : L" " + tail);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        wideOf(currentFolder).c_str(), &startup, &process)) {
        ADD_FAILURE() << "cannot start the program: " << GetLastError();
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

HANDLE startProgram(const std::string& exe, const std::wstring& tail, const std::string& currentFolder)
{
    return startProgram(wideOf(exe), tail, currentFolder);
}

// Starts the program with the tail, answers its message boxes and records
// what it shows until it ends; `meanwhile` is called at every look.
ProgramRun runProgram(const std::wstring& exe, const std::wstring& tail, const std::string& currentFolder,
                      const std::function<void()>& meanwhile = nullptr)
{
    ProgramRun run;
    HANDLE process = startProgram(exe, tail, currentFolder);
    if (!process)
        return run;
    std::set<HWND> answered;
    Watch watch = {GetProcessId(process), &run, &answered};
    // Polled often enough to see every progress text, each shown for 100 ms;
    // the guard only keeps a hung program from hanging the tests.
    for (DWORD started = GetTickCount(); GetTickCount() - started < 120000;) {
        bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        EnumWindows(watchWindow, reinterpret_cast<LPARAM>(&watch));
        if (ended)
            break;
        if (meanwhile)
            meanwhile();
        Sleep(2);
    }
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the program did not end";
        TerminateProcess(process, 1);
        WaitForSingleObject(process, INFINITE);
    }
    GetExitCodeProcess(process, &run.exitCode);
    CloseHandle(process);
    return run;
}

ProgramRun runProgram(const std::string& exe, const std::wstring& tail, const std::string& currentFolder,
                      const std::function<void()>& meanwhile = nullptr)
{
    return runProgram(wideOf(exe), tail, currentFolder, meanwhile);
}

ProgramRun runProgram(const std::string& exe, const std::string& tail, const std::string& currentFolder)
{
    return runProgram(wideOf(exe), wideOf(tail), currentFolder);
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
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "CorvaleStopwords");
    // The skipped names with their reasons, in the order of the names.
    std::string skippedLines;
    for (const std::string& name : names)
        if (name == "missing.txt" || name == "ro.txt")
            skippedLines += "\r\n" + name + (name == "ro.txt" ? ": read-only" : ": not found or not a file");
    EXPECT_EQ(run.boxes[0].text, "These files were skipped:\r\n" + skippedLines);
    EXPECT_EQ(run.exitCode, 0u);

    EXPECT_EQ(readBytes(workFolder + "a.txt"), "cat\tthe\r\nOf mice\t3\r\nthe,dog\t1\r\nbig  dog");
    EXPECT_EQ(readBytes(workFolder + "c.txt"), "salt\t4\nx\x1a" "the tail\n");
    EXPECT_EQ(readBytes(workFolder + "ro.txt"), "the x\r\n");
    EXPECT_EQ(readBytes(workFolder + "b.doc"), "one\rthree");
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
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "one\ntwo\n");
    expectNoTemporaryFile();
    EXPECT_EQ(run.exitCode, 0u);
}

namespace {

bool isThe(std::string_view word)
{
    return word == "the";
}

FILETIME lastWriteTime(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

std::string readWideNamed(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    char bytes[256];
    DWORD got = 0;
    ReadFile(file, bytes, sizeof bytes, &got, nullptr);
    CloseHandle(file);
    return std::string(bytes, got);
}

void writeWideNamed(const std::wstring& path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

template <size_t size>
std::string bytesOf(const char (&text)[size])
{
    return std::string(text, size - 1);
}

// 24 MB of LF-ended lines, every fourth with "the": an overwrite long
// enough to be caught in the middle.
std::string largeText()
{
    std::string text;
    const std::string padding(48, 'x');
    for (int i = 0; text.size() < (24u << 20); ++i)
        text += (i % 4 ? "keep " : "the ") + std::to_string(i) + "\t" + padding + "\n";
    return text;
}

const char summaryOfNoneFiltered[] =
    "Processing complete.\r\n0 file(s) filtered.\r\n0 lines removed.\r\n";

} // namespace

TEST_F(StopwordsRun, AStopsTmpAlreadyThereChangesNothing)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    writeBytes(workFolder + "a.txt", "the cat\r\ndog\r\n");
    // Someone's file, or the kept lines of an interrupted run; named too.
    writeBytes(workFolder + "stops.tmp", "the kept\r\nlines\r\n");
    ProgramRun run = runProgram(exe, "a.txt stops.tmp", workFolder);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "CorvaleStopwords");
    EXPECT_EQ(run.boxes[0].text, temporaryInTheWayText(workFolder + "stops.tmp", "", false, true));
    EXPECT_TRUE(run.labels.empty());
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "the cat\r\ndog\r\n");
    EXPECT_EQ(readBytes(workFolder + "stops.tmp"), "the kept\r\nlines\r\n");
    EXPECT_EQ(run.exitCode, 0u);
}

TEST_F(StopwordsRun, AFailedOverwriteKeepsEveryLineInStopsTmpAcrossRuns)
{
    std::string faultyExe = programFolder + "CorvaleStopwordsWithFaults.exe";
    ASSERT_TRUE(CopyFileA(stopwordsWithFaultsExePath().c_str(), faultyExe.c_str(), FALSE));
    writeBytes(programFolder + "stopwords", "the\r\n");
    std::string original;
    for (int i = 0; i < 200; ++i)
        original += (i % 3 ? "keep " : "the ") + std::to_string(i) + "\t1\n";
    writeBytes(workFolder + "a.txt", original);
    writeBytes(workFolder + "b.txt", "the b\r\nb\r\n");
    const std::string kept = filterText(original, isThe);

    // The disk "fills up" after 100 bytes of the overwrite.
    SetEnvironmentVariableA("CORVALE_FAIL_OVERWRITE_AFTER", "100");
    ProgramRun first = runProgram(faultyExe, "a.txt b.txt", workFolder);
    SetEnvironmentVariableA("CORVALE_FAIL_OVERWRITE_AFTER", nullptr);
    EXPECT_TRUE(sawInOrder(first.labels, {" 1 stopwords read", "Starting file 1 of 2\ra.txt",
                                          std::string(summaryOfNoneFiltered) +
                                              "1 file(s) skipped (could not be read or rewritten).\r\n"
                                              "1 file(s) not tried (the run stopped before them)."}));
    ASSERT_EQ(first.boxes.size(), 2u);
    EXPECT_EQ(first.boxes[0].text, overwriteFailedText("a.txt", "stops.tmp"));
    EXPECT_EQ(first.boxes[1].text, "These files were skipped:\r\n"
                                   "\r\na.txt: could not be written back - kept lines are in stops.tmp"
                                   "\r\nb.txt: not tried - the run stopped before it");
    const std::string halfWritten = kept.substr(0, 100) + original.substr(100);
    EXPECT_TRUE(readBytes(workFolder + "a.txt") == halfWritten);
    EXPECT_TRUE(readBytes(workFolder + "stops.tmp") == kept);
    EXPECT_EQ(readBytes(workFolder + "b.txt"), "the b\r\nb\r\n");

    // The next run (space freed, say) keeps its hands off.
    ProgramRun second = runProgram(exe, "a.txt b.txt", workFolder);
    ASSERT_EQ(second.boxes.size(), 1u);
    EXPECT_EQ(second.boxes[0].text, temporaryInTheWayText(workFolder + "stops.tmp", workFolder + "a.txt", false, true));
    EXPECT_TRUE(readBytes(workFolder + "stops.tmp") == kept);
    EXPECT_TRUE(readBytes(workFolder + "a.txt") == halfWritten);
    EXPECT_EQ(readBytes(workFolder + "b.txt"), "the b\r\nb\r\n");
}

// A second run in the folder while the first writes its copy of the kept
// lines (held open, as the first run holds it): the second says so, not that
// a stops.tmp is there, and changes nothing.
TEST_F(StopwordsRun, AnotherRunWritingItsCopyIsNamedForWhatItIs)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    writeBytes(workFolder + "a.txt", "the a\r\na\r\n");
    writeBytes(workFolder + "b.txt", "the b\r\nb\r\n");
    const std::string partial = workFolder + "stops.tmp.partial";
    writeBytes(partial, "the start of the first run's kept lines");
    HANDLE firstRun = CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(firstRun, INVALID_HANDLE_VALUE);
    ProgramRun second = runProgram(exe, "a.txt b.txt", workFolder);
    CloseHandle(firstRun);
    ASSERT_EQ(second.boxes.size(), 2u);
    EXPECT_EQ(second.boxes[0].text, partialTemporaryInUseText(partial, true));
    EXPECT_EQ(second.boxes[1].text, "These files were skipped:\r\n"
                                    "\r\na.txt: not tried - the run stopped before it"
                                    "\r\nb.txt: not tried - the run stopped before it");
    EXPECT_TRUE(sawInOrder(second.labels, {" 1 stopwords read", "Starting file 1 of 2\ra.txt",
                                           std::string(summaryOfNoneFiltered) +
                                               "2 file(s) not tried (the run stopped before them)."}));
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "the a\r\na\r\n");
    EXPECT_EQ(readBytes(workFolder + "b.txt"), "the b\r\nb\r\n");
    EXPECT_EQ(readBytes(partial), "the start of the first run's kept lines");
    expectNoTemporaryFile();
}

// Two runs in one folder: the program, past its look for a stops.tmp, writes
// its copy of y.txt's kept lines while a first run (played by the test, as a
// run does it) takes the folder's note, puts its stops.tmp beside it and is
// stopped there. The note is the program's from before its copy is begun,
// so the first run finds it held and stops, and no note beside a stops.tmp
// ever names a file whose lines it does not hold.
TEST_F(StopwordsRun, TwoRunsInOneFolderNeverMixUpWhoseStopsTmpItIs)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string original = largeText();
    writeBytes(workFolder + "y.txt", original);
    const std::string tmp = workFolder + "stops.tmp";
    const std::string noteName = workFolder + "stops.tmp-source.txt";
    const std::string firstNote = temporarySourceNote(workFolder + "x.txt", 8);
    bool firstRunStopped = false;
    bool noteHeld = false;
    ProgramRun second = runProgram(exe, L"y.txt", workFolder, [&]() {
        if (firstRunStopped || noteHeld || !fileExists(workFolder + "stops.tmp.partial"))
            return;
        HANDLE note = CreateFileA(noteName.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, 0, nullptr);
        noteHeld = note == INVALID_HANDLE_VALUE;
        if (noteHeld)
            return;
        writeBytes(tmp, "x kept\r\n");
        DWORD written = 0;
        WriteFile(note, firstNote.data(), static_cast<DWORD>(firstNote.size()), &written, nullptr);
        CloseHandle(note);
        firstRunStopped = true;
    });
    ASSERT_TRUE(firstRunStopped || noteHeld) << "the program's copy was never seen being written";
    EXPECT_TRUE(!fileExists(tmp) || readBytes(noteName) == firstNote) << "the note names " << readBytes(noteName);
    EXPECT_TRUE(noteHeld) << "the program wrote its copy without holding the note";
    EXPECT_TRUE(readBytes(workFolder + "y.txt") == filterText(original, isThe));
    EXPECT_TRUE(second.boxes.empty());
    EXPECT_FALSE(fileExists(noteName));
    expectNoTemporaryFile();
}

// Another program puts its own stops.tmp into the folder while a run is
// under way, as soon as the run has removed its own after the first file.
TEST_F(StopwordsRun, AStopsTmpThatAppearsBetweenTwoFilesIsNeverTouched)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string original = largeText();
    const std::string kept = filterText(original, isThe);
    for (const char* name : {"a.txt", "b.txt"})
        writeBytes(workFolder + name, original);
    writeBytes(workFolder + "c.txt", "the c\r\nc\r\n");
    const std::string theirs = "someone else's notes\r\n";
    const std::string tmp = workFolder + "stops.tmp";
    const FILETIME before = lastWriteTime(workFolder + "a.txt");

    bool placed = false;
    ProgramRun run = runProgram(exe, L"a.txt b.txt c.txt", workFolder, [&]() {
        if (placed)
            return;
        const FILETIME now = lastWriteTime(workFolder + "a.txt");
        if (CompareFileTime(&before, &now) == 0)
            return;
        // The run's own stops.tmp is there until a.txt is whole again.
        HANDLE file = CreateFileA(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        WriteFile(file, theirs.data(), static_cast<DWORD>(theirs.size()), &written, nullptr);
        CloseHandle(file);
        placed = true;
    });
    ASSERT_TRUE(placed) << "stops.tmp could not be put in while the program ran";

    // Whichever file the program had reached, no file is half done, theirs
    // is whole, and the user is told which files were left.
    EXPECT_EQ(readBytes(tmp), theirs);
    const std::string a = readBytes(workFolder + "a.txt");
    const std::string b = readBytes(workFolder + "b.txt");
    EXPECT_TRUE(a == kept) << "a.txt was not filtered";
    EXPECT_TRUE(b == original || b == kept) << "b.txt is half done";
    const bool reachedB = b == original;
    RecordProperty("stopsTmpAppearedBefore", reachedB ? "b.txt" : "c.txt");
    std::printf("stops.tmp appeared before %s\n", reachedB ? "b.txt" : "c.txt");
    EXPECT_EQ(readBytes(workFolder + "c.txt"), "the c\r\nc\r\n");
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0].text, temporaryInTheWayText(tmp, "", false, false));
    EXPECT_EQ(run.boxes[1].text, reachedB ? "These files were skipped:\r\n"
                                            "\r\nb.txt: not tried - the run stopped before it"
                                            "\r\nc.txt: not tried - the run stopped before it"
                                          : "These files were skipped:\r\n"
                                            "\r\nc.txt: not tried - the run stopped before it");
}

TEST_F(StopwordsRun, KilledDuringTheOverwriteNoLineIsLost)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string original = largeText();
    writeBytes(workFolder + "big.txt", original);
    const std::string kept = filterText(original, isThe);
    const std::string big = workFolder + "big.txt";
    const FILETIME before = lastWriteTime(big);

    // Killed as soon as the named file starts to change.
    HANDLE process = startProgram(exe, L"big.txt", workFolder);
    ASSERT_NE(process, nullptr);
    bool killed = false;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 120000;) {
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            break;
        FILETIME now = lastWriteTime(big);
        if (CompareFileTime(&before, &now) != 0) {
            killed = TerminateProcess(process, 1) != FALSE;
            break;
        }
        Sleep(1);
    }
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
    RecordProperty("killedDuringTheOverwrite", killed ? "yes" : "no (the program ended first)");
    std::printf("killed during the overwrite: %s\n", killed ? "yes" : "no (the program ended first)");

    // Wherever the kill landed, the kept lines are whole in one of the two.
    std::string afterKill = readBytes(big);
    EXPECT_TRUE(afterKill == kept || readBytes(workFolder + "stops.tmp") == kept);
    if (killed) {
        EXPECT_TRUE(readBytes(workFolder + "stops.tmp") == kept) << "the named file had changed: stops.tmp was made";
    }

    ProgramRun second = runProgram(exe, "big.txt", workFolder);
    if (fileExists(workFolder + "stops.tmp")) {
        ASSERT_EQ(second.boxes.size(), 1u);
        EXPECT_EQ(second.boxes[0].text, temporaryInTheWayText(workFolder + "stops.tmp", big, afterKill == kept, true));
        EXPECT_TRUE(readBytes(workFolder + "stops.tmp") == kept);
        EXPECT_TRUE(readBytes(big) == afterKill);
    } else {
        EXPECT_TRUE(readBytes(big) == kept);
    }
}

TEST_F(StopwordsRun, ANameOutsideTheCodePageIsSkippedAndNoOtherFileTouched)
{
    ASSERT_NE(GetACP(), 1251u) << "Cyrillic must have no ANSI form here";
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string text = "the x\r\nkeep\r\n";
    const std::wstring foreign = L"\x0444\x0430\x0439\x043B.txt";
    writeWideNamed(widePath(workFolder, foreign), text);
    writeWideNamed(widePath(workFolder, L"caf\x00E9.txt"), text);
    writeBytes(workFolder + "abcd.txt", text);
    writeBytes(workFolder + "wxyz.txt", text);

    ProgramRun run = runProgram(exe, foreign, workFolder);
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 1\r????.txt",
                                        std::string(summaryOfNoneFiltered) +
                                            "1 file(s) skipped (could not be read or rewritten)."}));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text,
              "These files were skipped:\r\n\r\n????.txt: name has characters the program cannot handle");
    for (const std::wstring& name : {foreign, std::wstring(L"caf\x00E9.txt"), std::wstring(L"abcd.txt"),
                                     std::wstring(L"wxyz.txt")})
        EXPECT_EQ(readWideNamed(widePath(workFolder, name)), text);
    expectNoTemporaryFile();
}

TEST_F(StopwordsRun, TheListAndTheProgramAreNeverFiltered)
{
    // An LF-ended list with a byte-order mark and a NUL inside an entry.
    const std::string list = bytesOf("\xEF\xBB\xBFthe\nof\nn\0ul\n");
    writeBytes(programFolder + "stopwords", list);
    writeBytes(programFolder + "a.txt", bytesOf("the cat\r\nthe\0cat\r\nn x\r\nn\0ul x\r\nof mice\r\nkeep\r\n"));
    std::vector<std::string> names;
    for (const DirectoryEntry& entry : listDirectory(programFolder + "*"))
        if (isOrdinaryFile(entry))
            names.push_back(entry.name);
    ASSERT_EQ(names.size(), 3u);
    // The first match takes the pattern's place, the others go to the end.
    names.insert(names.begin() + 1, ".\\STOPWORDS");

    ProgramRun run = runProgram(exe, "* .\\STOPWORDS", programFolder);
    std::vector<std::string> labels = {" 3 stopwords read"};
    for (size_t i = 0; i < names.size(); ++i)
        labels.push_back("Starting file " + std::to_string(i + 1) + " of 4\r" + names[i]);
    labels.push_back("Processing complete.\r\n1 file(s) filtered.\r\n3 lines removed.\r\n"
                     "3 file(s) skipped (not files this program filters).");
    EXPECT_TRUE(sawInOrder(run.labels, labels));
    std::string expected = "These files were skipped:\r\n";
    for (const std::string& name : names)
        if (name != "a.txt")
            expected += "\r\n" + name +
                        (name == "CorvaleStopwords.exe" ? ": the program itself" : ": the stopword list itself");
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, expected);
    EXPECT_EQ(readBytes(programFolder + "stopwords"), list);
    EXPECT_TRUE(readBytes(exe) == readBytes(stopwordsExePath()));
    EXPECT_EQ(readBytes(programFolder + "a.txt"), bytesOf("the\0cat\r\nn x\r\nkeep\r\n"));
    expectNoTemporaryFile();
}

TEST_F(StopwordsRun, AListTooLargeForMemoryIsReportedAndNoFileTouched)
{
    makeHugeFile(programFolder + "stopwords", sizeBeyondMemory());
    writeBytes(workFolder + "a.txt", "the cat\r\n");
    ProgramRun run = runProgram(exe, "a.txt", workFolder);
    ASSERT_EQ(run.boxes.size(), 1u);
    const std::string& text = run.boxes[0].text;
    EXPECT_EQ(text.rfind("The stopword list could not be read:\r\n" + programFolder + "stopwords\r\nError 2147942408 [&H80070008]", 0), 0u) << text;
    EXPECT_NE(text.find("No file was changed."), std::string::npos) << text;
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "the cat\r\n");
    expectNoTemporaryFile();
    EXPECT_EQ(run.exitCode, 0u);
}

// Lines as Linux tools write them (LF alone) come back with LF, so nothing
// downstream gets a stray CR; a file with mixed ends keeps each line's own.
TEST_F(StopwordsRun, KeptLinesKeepTheirOwnLineEnds)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    writeBytes(workFolder + "lf.txt", "the cat\t3\ncat food\t2\ndog\t1\n");
    writeBytes(workFolder + "mixed.txt", "a\t1\r\nthe b\t1\nc\t1\nd\t1\r\nlast\t1");
    ProgramRun run = runProgram(exe, "lf.txt mixed.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(readBytes(workFolder + "lf.txt"), "cat food\t2\ndog\t1\n");
    EXPECT_EQ(readBytes(workFolder + "mixed.txt"), "a\t1\r\nc\t1\nd\t1\r\nlast\t1");
    expectNoTemporaryFile();
}

// A UTF-8 file with a byte-order mark: the first line's first word is
// matched like any other, and the mark stays at the start of the file.
TEST_F(StopwordsRun, AByteOrderMarkHidesNoWord)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    writeBytes(workFolder + "bom.txt", "\xEF\xBB\xBFthe cat\r\nthe dog\r\nbig cat\r\n");
    ProgramRun run = runProgram(exe, "bom.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(readBytes(workFolder + "bom.txt"), "\xEF\xBB\xBF" "big cat\r\n");
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 1\rbom.txt",
                                        "Processing complete.\r\n1 file(s) filtered.\r\n2 lines removed."}));
    expectNoTemporaryFile();
}

// No stopword can match in UTF-16 text, and the line rule would insert line
// ends between the halves of its characters: such a file is left as it is.
TEST_F(StopwordsRun, Utf16TextIsSkippedUntouched)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string little = bytesOf("\xFF\xFEt\0h\0e\0 \0c\0a\0t\0\r\0\n\0d\0o\0g\0\r\0\n\0");
    const std::string big = bytesOf("\xFE\xFF\0t\0h\0e\0\r\0\n\0x");
    writeBytes(workFolder + "le.txt", little);
    writeBytes(workFolder + "be.txt", big);
    writeBytes(workFolder + "plain.txt", "the cat\r\ndog\r\n");
    ProgramRun run = runProgram(exe, "le.txt be.txt plain.txt", workFolder);
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 3\rle.txt",
                                        "Starting file 2 of 3\rbe.txt", "Starting file 3 of 3\rplain.txt",
                                        "Processing complete.\r\n1 file(s) filtered.\r\n1 lines removed.\r\n"
                                        "2 file(s) skipped (not files this program filters)."}));
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "These files were skipped:\r\n"
                                 "\r\nle.txt: UTF-16 text (this program reads 8-bit text)"
                                 "\r\nbe.txt: UTF-16 text (this program reads 8-bit text)");
    EXPECT_EQ(readBytes(workFolder + "le.txt"), little);
    EXPECT_EQ(readBytes(workFolder + "be.txt"), big);
    EXPECT_EQ(readBytes(workFolder + "plain.txt"), "dog\r\n");
    expectNoTemporaryFile();
}

// makeframes writes lower case unless told otherwise: with the list the zip
// ships, its "i" lines go as the capitalised ones do.
TEST_F(StopwordsRun, TheBundledListRemovesLowerCaseNgrams)
{
    ASSERT_TRUE(CopyFileA(sourceFilePath("release/stopwords").c_str(), (programFolder + "stopwords").c_str(), FALSE));
    writeBytes(workFolder + "3grams.txt", "i think i\t12\r\nharbour master said\t5\r\nI sailed home\t4\r\n"
                                          "i sailed home\t3\r\n");
    ProgramRun run = runProgram(exe, "3grams.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(readBytes(workFolder + "3grams.txt"), "harbour master said\t5\r\n");
    expectNoTemporaryFile();
}

// The browser's files, by their name or by their first record, are left as
// they are; the bundled n-gram list beside them is filtered.
TEST_F(StopwordsRun, PhraseFrameFilesAreSkippedUntouched)
{
    ASSERT_TRUE(CopyFileA(sourceFilePath("release/stopwords").c_str(), (programFolder + "stopwords").c_str(), FALSE));
    const std::string sample = readBytes(sourceFilePath("samples/corvale-sample-Freq-phraseFrames.txt"));
    ASSERT_GT(sample.size(), 1000u);
    writeBytes(workFolder + "mine-Freq-phraseFrames.txt", "the cat\t1\r\n");
    writeBytes(workFolder + "frames.txt", sample);
    ASSERT_TRUE(CopyFileA(sourceFilePath("samples/filter/ngrams.txt").c_str(), (workFolder + "ngrams.txt").c_str(),
                          FALSE));
    const std::string ngrams = readBytes(workFolder + "ngrams.txt");
    ProgramRun run = runProgram(exe, "mine-Freq-phraseFrames.txt frames.txt ngrams.txt", workFolder);
    ASSERT_FALSE(run.labels.empty());
    EXPECT_NE(run.labels.back().find(" lines removed.\r\n2 file(s) skipped (not files this program filters)."),
              std::string::npos)
        << run.labels.back();
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text,
              "These files were skipped:\r\n"
              "\r\nmine-Freq-phraseFrames.txt: a phrase-frame file (this program filters n-gram lists)"
              "\r\nframes.txt: a phrase-frame file (this program filters n-gram lists)");
    EXPECT_EQ(readBytes(workFolder + "mine-Freq-phraseFrames.txt"), "the cat\t1\r\n");
    EXPECT_TRUE(readBytes(workFolder + "frames.txt") == sample);
    const std::string filtered = readBytes(workFolder + "ngrams.txt");
    EXPECT_LT(filtered.size(), ngrams.size());
    EXPECT_GT(filtered.size(), 0u);
    expectNoTemporaryFile();
}

// Killed while it writes the kept lines to disk, in a loop until a kill lands
// in that write: a stops.tmp that is there is always complete (the user is
// told to copy it over the file), and the next run finishes the job and
// leaves nothing behind.
TEST_F(StopwordsRun, KilledWhileWritingStopsTmpLeavesNoPartOfIt)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string original = largeText();
    const std::string kept = filterText(original, isThe);
    const std::string big = workFolder + "big.txt";
    const std::string tmp = workFolder + "stops.tmp";
    const std::string partial = workFolder + "stops.tmp.partial";
    bool landed = false;
    for (int attempt = 0; attempt < 15 && !landed; ++attempt) {
        writeBytes(big, original);
        DeleteFileA(partial.c_str());
        HANDLE process = startProgram(exe, L"big.txt", workFolder);
        ASSERT_NE(process, nullptr);
        // Killed as soon as the kept lines start to reach the disk.
        for (DWORD started = GetTickCount(); GetTickCount() - started < 120000;) {
            if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
                break;
            if (fileExists(partial) || fileExists(tmp)) {
                TerminateProcess(process, 1);
                break;
            }
        }
        WaitForSingleObject(process, INFINITE);
        CloseHandle(process);
        const bool bigUnchanged = readBytes(big) == original;
        landed = bigUnchanged && (fileExists(partial) || (fileExists(tmp) && readBytes(tmp) != kept));
        if (fileExists(tmp)) {
            ASSERT_TRUE(readBytes(tmp) == kept) << "a partial stops.tmp after attempt " << attempt;
            // Left for the user with the file named: finish as told.
            ProgramRun next = runProgram(exe, "big.txt", workFolder);
            ASSERT_EQ(next.boxes.size(), 1u);
            EXPECT_EQ(next.boxes[0].text, temporaryInTheWayText(tmp, big, readBytes(big) == kept, true));
            ASSERT_TRUE(CopyFileA(tmp.c_str(), big.c_str(), FALSE));
            DeleteFileA(tmp.c_str());
            DeleteFileA((workFolder + "stops.tmp-source.txt").c_str());
        }
    }
    RecordProperty("killLandedInTheWrite", landed ? "yes" : "no");
    ASSERT_TRUE(landed) << "no kill landed while stops.tmp was written";

    // What the killed run left in the way is its own: the next run goes on.
    writeBytes(big, original);
    ProgramRun next = runProgram(exe, "big.txt", workFolder);
    EXPECT_TRUE(next.boxes.empty());
    EXPECT_TRUE(readBytes(big) == kept);
    EXPECT_FALSE(fileExists(partial));
    EXPECT_FALSE(fileExists(workFolder + "stops.tmp-source.txt"));
    expectNoTemporaryFile();
}

// Another program (a virus scanner, an editor) opens the run's stops.tmp and
// holds it: the run says that it could not delete it, not that an earlier
// run left it, and stops there. The next run says that the file already
// holds those lines, not that it may be partly rewritten.
TEST_F(StopwordsRun, AStopsTmpHeldOpenIsReportedAsThisRunsOwn)
{
    writeBytes(programFolder + "stopwords", "the\r\n");
    const std::string original = largeText();
    const std::string kept = filterText(original, isThe);
    const std::string tmp = workFolder + "stops.tmp";
    bool held = false;
    ProgramRun run;
    for (int attempt = 0; attempt < 10 && !held; ++attempt) {
        writeBytes(workFolder + "a.txt", original);
        writeBytes(workFolder + "b.txt", "the b\r\nb\r\n");
        HANDLE holder = INVALID_HANDLE_VALUE;
        run = runProgram(exe, L"a.txt b.txt", workFolder, [&]() {
            if (holder == INVALID_HANDLE_VALUE)
                holder = CreateFileA(tmp.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, 0, nullptr);
        });
        held = holder != INVALID_HANDLE_VALUE;
        if (held) {
            CloseHandle(holder);
        } else {
            DeleteFileA(tmp.c_str());
            DeleteFileA((workFolder + "stops.tmp-source.txt").c_str());
        }
    }
    ASSERT_TRUE(held) << "stops.tmp could not be caught while the program ran";
    ASSERT_EQ(run.boxes.size(), 2u);
    EXPECT_EQ(run.boxes[0].text.rfind("a.txt was filtered, but this run could not delete its copy of the kept lines:\r\n" +
                                          tmp + "\r\n",
                                      0),
              0u)
        << run.boxes[0].text;
    EXPECT_EQ(run.boxes[1].text, "These files were skipped:\r\n\r\nb.txt: not tried - the run stopped before it");
    int64_t removed = 0;
    filterText(original, isThe, &removed);
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 2\ra.txt",
                                        "Processing complete.\r\n1 file(s) filtered.\r\n" + formatThousands(removed) +
                                            " lines removed.\r\n1 file(s) not tried (the run stopped before them)."}));
    EXPECT_TRUE(readBytes(workFolder + "a.txt") == kept);
    EXPECT_EQ(readBytes(workFolder + "b.txt"), "the b\r\nb\r\n");

    ProgramRun next = runProgram(exe, "b.txt", workFolder);
    ASSERT_EQ(next.boxes.size(), 1u);
    EXPECT_EQ(next.boxes[0].text, temporaryInTheWayText(tmp, workFolder + "a.txt", true, true));
}

// A program folder named with characters outside the ANSI code page: the
// list beside the program is found and the files are filtered.
TEST_F(StopwordsRun, AProgramFolderNamedOutsideTheCodePageFindsItsList)
{
    ASSERT_NE(GetACP(), 1250u) << "the folder's name must have no ANSI form here";
    const std::wstring folder = widePath(root.path, L"\x0141ukasz\\");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring foreignExe = folder + L"CorvaleStopwords.exe";
    ASSERT_TRUE(CopyFileW(wideOf(stopwordsExePath()).c_str(), foreignExe.c_str(), FALSE));
    writeWideNamed(folder + L"stopwords", "the\r\n");
    writeBytes(workFolder + "a.txt", "the cat\r\ndog\r\n");
    ProgramRun run = runProgram(foreignExe, L"a.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty()) << (run.boxes.empty() ? "" : run.boxes[0].text);
    EXPECT_TRUE(sawInOrder(run.labels, {" 1 stopwords read", "Starting file 1 of 1\ra.txt",
                                        "Processing complete.\r\n1 file(s) filtered.\r\n1 lines removed."}));
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "dog\r\n");
    expectNoTemporaryFile();
}

// A long list takes a while to load: the label counts the entries read so
// far instead of staying empty.
TEST_F(StopwordsRun, ALongListShowsItsCountAsItLoads)
{
    const int entries = 250000;
    std::string list;
    for (int i = 0; i < entries; ++i)
        list += "w" + std::to_string(i) + "\r\n";
    writeBytes(programFolder + "stopwords", list);
    writeBytes(workFolder + "a.txt", "w7 cat\r\ndog\r\n");
    ProgramRun run = runProgram(exe, "a.txt", workFolder);
    ASSERT_FALSE(run.labels.empty());
    const std::string soFar = " stopwords read so far";
    ASSERT_GE(run.labels[0].size(), soFar.size()) << run.labels[0];
    EXPECT_EQ(run.labels[0].substr(run.labels[0].size() - soFar.size()), soFar) << run.labels[0];
    const long firstCount = std::strtol(run.labels[0].c_str(), nullptr, 10);
    EXPECT_GT(firstCount, 0);
    EXPECT_LT(firstCount, entries);
    EXPECT_TRUE(std::find(run.labels.begin(), run.labels.end(), " 250000 stopwords read") != run.labels.end());
    EXPECT_EQ(readBytes(workFolder + "a.txt"), "dog\r\n");
}

namespace {

// The bytes of a text in the ANSI code page; empty when a character of it
// has no exact form there.
std::string ansiOf(const std::wstring& text)
{
    char bytes[64];
    BOOL usedDefault = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), static_cast<int>(text.size()), bytes,
                                   sizeof bytes, nullptr, &usedDefault);
    return size > 0 && !usedDefault ? std::string(bytes, size) : std::string();
}

// A UTF-8 n-gram list with Cyrillic ("и мир", "война") and Greek ("και η",
// "λόγος") keys, one with a capital ("Και"), "café" in UTF-8, and a line
// whose "café" is written in Latin-1 inside the UTF-8 (a bad byte) next to a
// lone lead byte.
const char utf8NgramList[] = "\xEF\xBB\xBF"
                             "\xD0\xB8 \xD0\xBC\xD0\xB8\xD1\x80\t5\r\n"
                             "\xD0\xB2\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0\t4\r\n"
                             "\xCE\xBA\xCE\xB1\xCE\xB9 \xCE\xB7\t3\r\n"
                             "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\t2\r\n"
                             "caf\xC3\xA9 noir\t2\r\n"
                             "\xCE\x9A\xCE\xB1\xCE\xB9\t1\r\n"
                             "caf\xE9 \xD0\t1\r\n";

} // namespace

// Each side is read in its own encoding: a UTF-8 list's words meet a UTF-8
// stopword list's and an ANSI one's, and a UTF-8 stopword list's words meet
// an ANSI list's. A bad byte never makes a word match.
TEST_F(StopwordsRun, Utf8ListsAreMatchedAsUtf8)
{
    const std::string cafeAnsi = ansiOf(L"caf\x00E9");
    ASSERT_EQ(cafeAnsi, "caf\xE9") << "the ANSI code page must write \"caf\xC3\xA9\" as in Western Europe";
    const std::string utf8 = bytesOf(utf8NgramList);
    const std::string kept = "\xEF\xBB\xBF"
                             "\xD0\xB2\xD0\xBE\xD0\xB9\xD0\xBD\xD0\xB0\t4\r\n"
                             "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\t2\r\n"
                             "\xCE\x9A\xCE\xB1\xCE\xB9\t1\r\n"
                             "caf\xE9 \xD0\t1\r\n";

    writeBytes(programFolder + "stopwords", "\xEF\xBB\xBF\xD0\xB8\r\n\xCE\xBA\xCE\xB1\xCE\xB9\r\ncaf\xC3\xA9 | coffee\r\n");
    writeBytes(workFolder + "utf8.txt", utf8);
    writeBytes(workFolder + "ansi.txt", cafeAnsi + " au lait\t3\r\nthe cat\t1\r\n");
    ProgramRun run = runProgram(exe, "utf8.txt ansi.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(readBytes(workFolder + "utf8.txt"), kept);
    EXPECT_EQ(readBytes(workFolder + "ansi.txt"), "the cat\t1\r\n");
    EXPECT_TRUE(sawInOrder(run.labels, {" 3 stopwords read", "Starting file 1 of 2\rutf8.txt",
                                        "Starting file 2 of 2\ransi.txt",
                                        "Processing complete.\r\n2 file(s) filtered.\r\n4 lines removed."}));

    // An ANSI stopword list: its "café" meets the UTF-8 one; Cyrillic and
    // Greek have no form in it here, so those lines stay.
    writeBytes(programFolder + "stopwords", cafeAnsi + "\r\nthe\r\n");
    writeBytes(workFolder + "utf8.txt", utf8);
    run = runProgram(exe, "utf8.txt", workFolder);
    EXPECT_TRUE(run.boxes.empty());
    std::string withoutCafeNoir = utf8;
    withoutCafeNoir.erase(withoutCafeNoir.find("caf\xC3\xA9 noir\t2\r\n"), 14);
    EXPECT_EQ(readBytes(workFolder + "utf8.txt"), withoutCafeNoir);
    expectNoTemporaryFile();
}

// A stopword list saved as UTF-16 would give no word that matches: the run
// says so and changes nothing.
TEST_F(StopwordsRun, AUtf16StopwordListIsRefused)
{
    writeBytes(workFolder + "a.txt", "the cat\r\n");
    for (const std::string& list : {bytesOf("\xFF\xFEt\0h\0e\0\r\0\n\0"), bytesOf("\xFE\xFF\0t\0h\0e\0\r\0\n")}) {
        writeBytes(programFolder + "stopwords", list);
        ProgramRun run = runProgram(exe, "a.txt", workFolder);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].caption, "CorvaleStopwords");
        EXPECT_EQ(run.boxes[0].text, "The stopword list " + programFolder +
                                         "stopwords is in UTF-16. Save it as UTF-8 or ANSI text and run the filter "
                                         "again.");
        EXPECT_TRUE(run.labels.empty());
        EXPECT_EQ(readBytes(workFolder + "a.txt"), "the cat\r\n");
        expectNoTemporaryFile();
    }
}
