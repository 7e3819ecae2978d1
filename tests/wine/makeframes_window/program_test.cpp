// The real CorvaleMakeFrames.exe run from outside, as a user runs it: a
// folder dropped on its icon, Make pressed, the result read from the window.
// Then the browser opens the Freq file it made and shows the counts the
// window reported, and the filter filters the n-gram list it made.
#include "makeframes/window/window.h"

#include "../programrun.h"
#include "../winepath.h"
#include "testcorpus.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::wstring textOfWindow(HWND window)
{
    wchar_t text[8192] = L"";
    SendMessageW(window, WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
    return text;
}

struct Started {
    PROCESS_INFORMATION process = {};
    bool ok = false;
    Started(const fs::path& exe, const std::wstring& tail, const fs::path& folder)
    {
        std::wstring commandLine = L"\"" + exe.native() + L"\" " + tail;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        ok = CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                            &startup, &process) != FALSE;
    }
    // Waits for the end (the guard only keeps a hung program from hanging
    // the tests); the exit status.
    DWORD finish()
    {
        if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end";
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        return exitCode;
    }
    ~Started()
    {
        if (!ok)
            return;
        if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
};

// The words of the filter's list: the text before any '|', blanks trimmed.
std::set<std::string> stopwordsOf(const std::string& list)
{
    std::set<std::string> words;
    std::istringstream lines(list);
    std::string line;
    while (std::getline(lines, line)) {
        line = line.substr(0, line.find('|'));
        const size_t first = line.find_first_not_of(" \r");
        if (first != std::string::npos)
            words.insert(line.substr(first, line.find_last_not_of(" \r") - first + 1));
    }
    return words;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line, '\n'))
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(MakeFramesProgram, MakesAPairAndAListThatTheBrowserAndTheFilterOpen)
{
    const fs::path root = newTempFolder(L"makeprogram");
    const fs::path program = root / L"prog";
    fs::create_directories(program);
    const fs::path exe = program / L"CorvaleMakeFrames.exe";
    ASSERT_TRUE(CopyFileW(fs::path(windowsPath(CORVALE_MAKEFRAMES_WINDOW_EXE)).c_str(), exe.c_str(), FALSE));
    const fs::path corpus = writeCorpus(root / L"harbour texts", 3, 30000);

    // The folder as Explorer hands it over when dropped on the icon.
    Started maker(exe, L"\"" + corpus.native() + L"\"", root);
    ASSERT_TRUE(maker.ok) << GetLastError();
    HWND window = waitForWindow(maker.process, makeWindowCaption);
    ASSERT_NE(window, nullptr) << "the window did not appear";
    SendMessageW(GetDlgItem(window, ngramsCheckId), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(makeButtonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, makeButtonId)));
    std::wstring phase;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 60000; Sleep(50)) {
        phase = textOfWindow(GetDlgItem(window, phaseLabelId));
        if (phase == L"Finished." || phase.rfind(L"Stopped", 0) == 0)
            break;
    }
    ASSERT_EQ(phase, L"Finished.");
    const std::wstring report = textOfWindow(GetDlgItem(window, resultTextId));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(maker.finish(), 0u);

    // Beside the corpus, named after it.
    const fs::path freq = root / L"harbour texts-Freq-phraseFrames.txt";
    const fs::path ngrams = root / L"harbour texts-Ngrams.txt";
    for (const fs::path& made : {root / L"harbour texts-Alpha-phraseFrames.txt", freq, ngrams})
        EXPECT_NE(report.find(L"  " + made.native() + L"\r\n"), std::wstring::npos) << report;
    const size_t kept = report.find(L"Kept ");
    ASSERT_NE(kept, std::wstring::npos) << report;
    std::wistringstream counts(report.substr(kept + 5));
    std::wstring frames, word, with, variants;
    counts >> frames >> word >> with >> variants;
    ASSERT_EQ(word, L"frames");

    const std::string browserExe = windowsPath(CORVALE_BROWSER_EXE);
    ProgramRun browser = runBrowserProgram(browserExe, "\"" + browserExe + "\" " + freq.string());
    ASSERT_TRUE(browser.windowFound);
    const std::string status = std::string(frames.begin(), frames.end()) + " phrase-frames with " +
                               std::string(variants.begin(), variants.end()) +
                               " variants in harbour texts-Freq-phraseFrames.txt.";
    EXPECT_EQ(browser.status.substr(0, status.size()), status);

    // The filter, beside its stopword list, on the list the window made.
    const std::string list = fileBytes(windowsPath(CORVALE_STOPWORD_LIST));
    const std::set<std::string> stopwords = stopwordsOf(list);
    ASSERT_TRUE(stopwords.count("the") && stopwords.count("of")) << "not the stopword list";
    ASSERT_TRUE(CopyFileW(fs::path(windowsPath(CORVALE_STOPWORDS_EXE)).c_str(),
                          (program / L"CorvaleStopwords.exe").c_str(), FALSE));
    std::ofstream(program / L"stopwords", std::ios::binary) << list;
    const std::vector<std::string> before = linesOf(fileBytes(ngrams));
    ASSERT_GT(before.size(), 1u) << "no n-gram list to filter";
    Started filter(program / L"CorvaleStopwords.exe", L"\"" + ngrams.native() + L"\"", root);
    ASSERT_TRUE(filter.ok) << GetLastError();
    EXPECT_EQ(filter.finish(), 0u);
    const std::vector<std::string> after = linesOf(fileBytes(ngrams));
    EXPECT_LT(after.size(), before.size());
    EXPECT_FALSE(after.empty());
    for (const std::string& line : after) {
        std::istringstream words(line.substr(0, line.find('\t')));
        std::string w;
        while (words >> w)
            EXPECT_EQ(stopwords.count(w), 0u) << line;
    }
    std::error_code ignored;
    fs::remove_all(root, ignored);
}
