// The real window in this process, driven with messages: the corpus from the
// command line, drops and the choosers; the checks before a run; a run with
// its progress, Cancel, the report, and the question before replacing.
#include "makeframes/window/window.h"

#include "common/win/prompts.h"
#include "makeframes/window/core/makeform.h"
#include "testcorpus.h"
#include "unixmount.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace fs = std::filesystem;

namespace {

struct Prompt {
    std::wstring text;
    UINT style;
};

const wchar_t cyrillicFolder[] = L"\u043a\u043e\u0440\u043f\u0443\u0441"; // "corpus" in Russian

class MakeWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileW(makeSettingsPath().c_str());
        root = newTempFolder(L"makewindow");
        setWideMessageBoxAnswerer([this](const std::wstring& text, const std::wstring&, UINT style) {
            prompts.push_back({text, style});
            return promptAnswer;
        });
        setFolderAnswerer([this](const std::wstring&, std::wstring& folder) {
            if (chosenFolder.empty())
                return false;
            folder = chosenFolder.native();
            return true;
        });
    }

    void TearDown() override
    {
        if (makeWindow) {
            cancelMakeRun();
            waitUntil([] { return !makeRunning(); }, 60000);
            DestroyWindow(makeWindow);
        }
        setWideMessageBoxAnswerer(nullptr);
        setFolderAnswerer(nullptr);
        setWideOpenFileAnswerer(nullptr);
        makeCommandLineForTests = nullptr;
        std::error_code ignored;
        fs::remove_all(root, ignored);
        DeleteFileW(makeSettingsPath().c_str());
    }

    HWND open(const std::wstring& tail = L"")
    {
        commandLine = L"CorvaleMakeFrames.exe " + tail;
        makeCommandLineForTests = commandLine.c_str();
        HWND window = createMakeWindow();
        startMakeWindow(window);
        return window;
    }

    static bool waitUntil(const std::function<bool()>& done, DWORD milliseconds,
                          const std::function<void()>& meanwhile = nullptr)
    {
        for (DWORD started = GetTickCount(); GetTickCount() - started < milliseconds;) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (meanwhile)
                meanwhile();
            if (done())
                return true;
            Sleep(1);
        }
        return done();
    }

    static HWND control(int id) { return GetDlgItem(makeWindow, id); }
    static std::wstring text(int id) { return controlText(control(id)); }
    static void setText(int id, const std::wstring& value) { SetWindowTextW(control(id), value.c_str()); }
    static void click(int id) { SendMessageW(control(id), BM_CLICK, 0, 0); }
    static void check(int id, bool on) { SendMessageW(control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
    static bool enabled(int id) { return IsWindowEnabled(control(id)) != FALSE; }

    static std::vector<std::wstring> listed()
    {
        std::vector<std::wstring> items;
        LRESULT count = SendMessageW(control(corpusListId), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring item(SendMessageW(control(corpusListId), LB_GETTEXTLEN, i, 0) + 1, L'\0');
            item.resize(SendMessageW(control(corpusListId), LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0])));
            items.push_back(item);
        }
        return items;
    }

    // Clicks Make and waits for the run to end; false when none started.
    bool makeAndWait()
    {
        click(makeButtonId);
        if (!makeRunning())
            return false;
        EXPECT_TRUE(waitUntil([] { return !makeRunning(); }, 120000)) << "the run did not end";
        return true;
    }

    // Output into its own folder, so that everything in it is the run's.
    fs::path useOutput(const std::wstring& name)
    {
        fs::path folder = root / L"out";
        fs::create_directories(folder);
        setText(outputFolderEditId, folder.native());
        setText(outputNameEditId, name);
        return folder;
    }

    fs::path root;
    std::wstring commandLine;
    std::vector<Prompt> prompts;
    int promptAnswer = IDOK;
    fs::path chosenFolder;
};

// An HDROP as Explorer hands it over: DROPFILES, then wide names, each
// ended by a NUL, the list by another.
HGLOBAL dropOf(const std::vector<fs::path>& names)
{
    std::wstring list;
    for (const fs::path& name : names)
        list += name.native() + L'\0';
    list += L'\0';
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(block);
    return block;
}

} // namespace

TEST_F(MakeWindowTest, StartsWithTheUsualOptionsAndTheSystemsCodePage)
{
    open();
    EXPECT_EQ(text(lengthsEditId), L"4");
    EXPECT_EQ(text(minFrequencyEditId), L"2");
    EXPECT_EQ(text(minVariantsEditId), L"2");
    EXPECT_EQ(text(minRangeEditId), L"1");
    for (int id : {innerSlotsCheckId, keepCaseCheckId, ngramsCheckId, statsCheckId, joinHyphensCheckId})
        EXPECT_EQ(SendMessageW(control(id), BM_GETCHECK, 0, 0), BST_UNCHECKED) << id;
    LRESULT index = SendMessageW(control(codePageComboId), CB_GETCURSEL, 0, 0);
    ASSERT_GE(index, 0);
    EXPECT_EQ(outputCodePages[index].codePage, defaultCodePage(GetACP()));
    EXPECT_EQ(SendMessageW(control(codePageComboId), CB_GETCOUNT, 0, 0), 6);
    EXPECT_TRUE(listed().empty());
    EXPECT_TRUE(enabled(makeButtonId));
    EXPECT_FALSE(enabled(cancelButtonId));
}

TEST_F(MakeWindowTest, NamesOnTheCommandLineAreTheCorpusAndTheOutputGoesBesideTheFirst)
{
    fs::path folder = root / cyrillicFolder;
    fs::create_directories(folder);
    fs::path file = root / L"more texts.txt";
    std::ofstream(file) << "a text";
    open(L"\"" + folder.native() + L"\" \"" + file.native() + L"\"");
    EXPECT_EQ(listed(), (std::vector<std::wstring>{folder.native(), file.native()}));
    EXPECT_EQ(text(outputFolderEditId), root.native());
    EXPECT_EQ(text(outputNameEditId), cyrillicFolder);
    DestroyWindow(makeWindow);

    // A name typed at a command prompt is taken from its current folder.
    wchar_t current[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(root.c_str());
    open(L"more\\..\\" + std::wstring(cyrillicFolder));
    SetCurrentDirectoryW(current);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{folder.native()}));
    EXPECT_EQ(text(outputFolderEditId), root.native());
}

TEST_F(MakeWindowTest, DropsAndChoosersAddEachNameOnceAndRemoveTakesTheSelected)
{
    open();
    fs::path a = root / L"a.txt", b = root / L"b.txt", folder = root / cyrillicFolder;
    SendMessageW(makeWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({folder, a})), 0);
    // The output follows the first input until the user types another.
    EXPECT_EQ(text(outputNameEditId), cyrillicFolder);
    SendMessageW(makeWindow, WM_DROPFILES, reinterpret_cast<WPARAM>(dropOf({a, b})), 0);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{folder.native(), a.native(), b.native()}));

    // Several files from one folder come as the folder and then the names.
    setWideOpenFileAnswerer([&](OPENFILENAMEW* ofn) {
        EXPECT_TRUE(ofn->Flags & OFN_ALLOWMULTISELECT);
        std::wstring answer = root.native() + L'\0' + L"c.txt" + L'\0' + L"b.txt" + L'\0' + L'\0';
        std::copy(answer.begin(), answer.end(), ofn->lpstrFile);
        return TRUE;
    });
    click(addFilesButtonId);
    chosenFolder = root / L"sub";
    click(addFolderButtonId);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{folder.native(), a.native(), b.native(), (root / L"c.txt").native(),
                                                   chosenFolder.native()}));

    SendMessageW(control(corpusListId), LB_SETSEL, TRUE, 0);
    SendMessageW(control(corpusListId), LB_SETSEL, TRUE, 2);
    click(removeButtonId);
    EXPECT_EQ(listed(), (std::vector<std::wstring>{a.native(), (root / L"c.txt").native(), chosenFolder.native()}));
    EXPECT_EQ(corpusNames().size(), 3u);
    // The first input changed, and with it the suggested name.
    EXPECT_EQ(text(outputNameEditId), L"a");

    // A name the user typed stays.
    SetFocus(control(outputNameEditId));
    SendMessageW(control(outputNameEditId), EM_SETMODIFY, TRUE, 0);
    setText(outputNameEditId, L"mine");
    SendMessageW(control(outputNameEditId), EM_SETMODIFY, TRUE, 0);
    SendMessageW(control(corpusListId), LB_SETSEL, TRUE, 0);
    click(removeButtonId);
    EXPECT_EQ(text(outputNameEditId), L"mine");
}

// A folder the user chose keeps the folder; the name still follows the first
// input until the user types one.
TEST_F(MakeWindowTest, TheOutputNameFollowsTheFirstInputWhenOnlyTheFolderWasChosen)
{
    open();
    const fs::path mixed = root / L"Mixed", other = root / L"Other";
    addToCorpus({mixed});
    EXPECT_EQ(text(outputNameEditId), L"Mixed");
    chosenFolder = root / L"out";
    click(browseButtonId);
    SendMessageW(control(corpusListId), LB_SETSEL, TRUE, 0);
    click(removeButtonId);
    addToCorpus({other});
    EXPECT_EQ(text(outputNameEditId), L"Other");
    EXPECT_EQ(text(outputFolderEditId), chosenFolder.native());
}

TEST_F(MakeWindowTest, BadInputIsToldAndStartsNothing)
{
    open();
    click(makeButtonId);
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_NE(prompts[0].text.find(L"add the corpus first"), std::wstring::npos);
    EXPECT_FALSE(makeRunning());

    // The fields' own rules are the form's (tested natively); here, what
    // only the window knows: whether the output folder is there.
    fs::path corpus = writeCorpus(root / L"corpus", 1, 2000);
    addToCorpus({corpus});
    setText(outputFolderEditId, (root / L"no such folder").native());
    click(makeButtonId);
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_NE(prompts[1].text.find(L"does not exist"), std::wstring::npos);
    EXPECT_FALSE(makeRunning());

    // A file where the folder should be is no folder either.
    setText(outputFolderEditId, (corpus / L"text100.txt").native());
    click(makeButtonId);
    ASSERT_EQ(prompts.size(), 3u);
    EXPECT_NE(prompts[2].text.find(L"does not exist"), std::wstring::npos);
    EXPECT_EQ(folderListing(corpus), (std::vector<std::wstring>{L"text100.txt"}));
}

TEST_F(MakeWindowTest, ACorpusWithoutTextStopsWithTheReasonAndWritesNothing)
{
    open();
    fs::path binary = root / L"in" / L"picture.bin";
    fs::create_directories(binary.parent_path());
    std::ofstream(binary, std::ios::binary) << std::string("\x89PNG\0\0\0\rIHDR", 12) << std::string(5000, '\0');
    addToCorpus({binary.parent_path()});
    fs::path out = useOutput(L"pictures");
    ASSERT_TRUE(makeAndWait());
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text.rfind(L"Nothing was written: ", 0), 0u);
    EXPECT_NE(prompts[0].text.find(L"no text"), std::wstring::npos);
    EXPECT_EQ(text(resultTextId), prompts[0].text);
    EXPECT_EQ(text(phaseLabelId), L"Stopped: no file was written.");
    EXPECT_TRUE(folderListing(out).empty());
    EXPECT_TRUE(enabled(makeButtonId));
    EXPECT_FALSE(enabled(cancelButtonId));
}

TEST_F(MakeWindowTest, MakeShowsProgressAndReportsEveryFileWithItsFullName)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 40, 150000)});
    fs::path out = useOutput(L"harbour");
    setText(lengthsEditId, L"3-4");
    check(ngramsCheckId, true);
    check(statsCheckId, true);

    click(makeButtonId);
    ASSERT_TRUE(makeRunning());
    EXPECT_FALSE(enabled(makeButtonId));
    EXPECT_FALSE(enabled(lengthsEditId));
    EXPECT_TRUE(enabled(cancelButtonId));
    std::set<std::wstring> phases;
    LRESULT highestBar = 0;
    EXPECT_TRUE(waitUntil([] { return !makeRunning(); }, 120000, [&] {
        phases.insert(text(phaseLabelId));
        highestBar = std::max(highestBar, SendMessageW(control(progressBarId), PBM_GETPOS, 0, 0));
    }));
    EXPECT_GE(phases.size(), 3u) << "the phase hardly changed";
    EXPECT_GT(highestBar, 0);
    EXPECT_EQ(text(phaseLabelId), L"Finished.");
    EXPECT_TRUE(prompts.empty());

    const std::wstring report = text(resultTextId);
    EXPECT_EQ(report.rfind(L"Read 40 files: ", 0), 0u) << report;
    EXPECT_NE(report.find(L"Kept "), std::wstring::npos);
    const std::vector<std::wstring> made = {
        L"harbour-3-Alpha-phraseFrames.txt", L"harbour-3-Corpus.txt", L"harbour-3-Freq-phraseFrames.txt",
        L"harbour-3-Ngrams.txt",             L"harbour-3-Stats.txt",  L"harbour-4-Alpha-phraseFrames.txt",
        L"harbour-4-Corpus.txt",             L"harbour-4-Freq-phraseFrames.txt", L"harbour-4-Ngrams.txt",
        L"harbour-4-Stats.txt"};
    for (const std::wstring& name : made)
        EXPECT_NE(report.find(L"  " + (out / name).native() + L"\r\n"), std::wstring::npos) << name;
    // Nothing else in the folder: no temporary file or folder is left.
    EXPECT_EQ(folderListing(out), made);
    EXPECT_TRUE(enabled(makeButtonId));
}

TEST_F(MakeWindowTest, CancelLeavesNothingAndASecondMakeCompletes)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 60, 200000)});
    fs::path out = useOutput(L"cancelled");
    check(ngramsCheckId, true);

    click(makeButtonId);
    ASSERT_TRUE(makeRunning());
    // Cancelled once the run has shown it is under way.
    ASSERT_TRUE(waitUntil([] { return text(phaseLabelId) != L"Starting..."; }, 60000));
    ASSERT_TRUE(makeRunning()) << "the run ended before it could be cancelled";
    click(cancelButtonId);
    EXPECT_TRUE(waitUntil([] { return !makeRunning(); }, 60000));
    EXPECT_EQ(text(phaseLabelId), L"Cancelled: no file was written.");
    EXPECT_EQ(SendMessageW(control(progressBarId), PBM_GETPOS, 0, 0), 0);
    EXPECT_TRUE(folderListing(out).empty());
    EXPECT_TRUE(prompts.empty());

    ASSERT_TRUE(makeAndWait());
    EXPECT_EQ(text(phaseLabelId), L"Finished.");
    EXPECT_EQ(folderListing(out), (std::vector<std::wstring>{L"cancelled-Alpha-phraseFrames.txt",
                                                             L"cancelled-Corpus.txt",
                                                             L"cancelled-Freq-phraseFrames.txt",
                                                             L"cancelled-Ngrams.txt"}));
}

// Closed by the user, or destroyed outright, during a run: the worker is
// stopped before the window goes, and nothing is left.
TEST_F(MakeWindowTest, ClosingOrDestroyingDuringARunStopsItAndLeavesNothing)
{
    const struct {
        const wchar_t* name;
        void (*end)();
    } ways[] = {{L"closed", [] { SendMessageW(makeWindow, WM_CLOSE, 0, 0); }},
                {L"destroyed", [] { DestroyWindow(makeWindow); }}};
    for (const auto& way : ways) {
        open();
        addToCorpus({writeCorpus(root / way.name, 60, 200000)});
        fs::path out = useOutput(way.name);
        click(makeButtonId);
        ASSERT_TRUE(waitUntil([] { return text(phaseLabelId) != L"Starting..."; }, 60000));
        way.end();
        EXPECT_TRUE(waitUntil([] { return makeWindow == nullptr; }, 60000)) << "the window stayed";
        EXPECT_FALSE(makeRunning());
        EXPECT_TRUE(folderListing(out).empty());
    }
}

TEST_F(MakeWindowTest, AnExistingOutputIsReplacedOnlyWhenTheUserSaysYes)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 2, 20000)});
    fs::path out = useOutput(L"again");
    ASSERT_TRUE(makeAndWait());
    const fs::path freq = out / L"again-Freq-phraseFrames.txt";
    const std::string made = fileBytes(freq);
    ASSERT_NE(made, "<missing>");
    std::ofstream(freq, std::ios::binary) << "kept";
    // Statistics of an earlier run with them: this run writes none, so they
    // would go with the files they describe.
    const fs::path stats = out / L"again-Stats.txt";
    std::ofstream(stats, std::ios::binary) << "earlier";

    promptAnswer = IDNO;
    EXPECT_FALSE(makeAndWait());
    ASSERT_EQ(prompts.size(), 1u);
    EXPECT_EQ(prompts[0].text, L"These files are there already:\r\n" + (out / L"again-Alpha-phraseFrames.txt").native() +
                                   L"\r\n" + freq.native() + L"\r\n" + (out / L"again-Corpus.txt").native() +
                                   L"\r\n" + stats.native() + L"\r\n\r\nReplace them?");
    EXPECT_EQ(prompts[0].style & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(fileBytes(freq), "kept");
    EXPECT_EQ(fileBytes(stats), "earlier");

    promptAnswer = IDYES;
    ASSERT_TRUE(makeAndWait());
    EXPECT_EQ(prompts.size(), 2u);
    EXPECT_EQ(fileBytes(freq), made);
    EXPECT_FALSE(fs::exists(stats));
    EXPECT_EQ(text(phaseLabelId), L"Finished.");
}

TEST_F(MakeWindowTest, SettingsAreRememberedWithFoldersOutsideTheAnsiCodePage)
{
    open();
    setText(lengthsEditId, L"3-5");
    setText(minFrequencyEditId, L"7");
    check(keepCaseCheckId, true);
    check(statsCheckId, true);
    check(joinHyphensCheckId, true);
    SendMessageW(control(codePageComboId), CB_SETCURSEL, 1, 0);
    chosenFolder = root / cyrillicFolder;
    click(addFolderButtonId);
    SendMessageW(makeWindow, WM_CLOSE, 0, 0);
    ASSERT_EQ(makeWindow, nullptr);

    EXPECT_EQ(fileBytes(makeSettingsPath()).substr(0, 2), "\xFF\xFE");
    open();
    EXPECT_EQ(text(lengthsEditId), L"3-5");
    EXPECT_EQ(text(minFrequencyEditId), L"7");
    EXPECT_EQ(SendMessageW(control(keepCaseCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control(statsCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control(joinHyphensCheckId), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control(ngramsCheckId), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(control(codePageComboId), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(lastChosenFolder(), chosenFolder.native());
}

// The world around a run breaks: a full disk, a folder that takes no files,
// an output another program holds, what a killed run left.
class MakeWindowFaultTest : public MakeWindowTest {
protected:
    // Every byte of the corpus, to show that a failed run did not touch it.
    static std::vector<std::string> corpusBytes(const fs::path& folder)
    {
        std::vector<std::string> bytes;
        for (const std::wstring& name : folderListing(folder))
            bytes.push_back(fileBytes(folder / name));
        return bytes;
    }
};

TEST_F(MakeWindowFaultTest, AFullDiskIsToldAndLeavesNothing)
{
    open();
    const fs::path corpus = writeCorpus(root / L"corpus", 10, 30000);
    const std::vector<std::string> before = corpusBytes(corpus);
    const fs::path out = root / L"small disk";
    UnixMount disk(out, "size=200k");
    if (!disk.mounted())
        GTEST_SKIP() << "a 200 KB tmpfs cannot be mounted here (mounting needs root)";
    addToCorpus({corpus});
    setText(outputFolderEditId, out.native());
    setText(outputNameEditId, L"full");
    check(ngramsCheckId, true);
    ASSERT_TRUE(makeAndWait());
    ASSERT_EQ(prompts.size(), 1u);
    const std::wstring said = prompts[0].text;
    EXPECT_EQ(said.rfind(L"Nothing was written: ", 0), 0u);
    EXPECT_NE(said.find(L": the disk is full."), std::wstring::npos) << said;
    EXPECT_EQ(text(resultTextId), said);
    EXPECT_EQ(text(phaseLabelId), L"Stopped: no file was written.");
    EXPECT_TRUE(folderListing(out).empty()) << folderListing(out).front();
    EXPECT_EQ(corpusBytes(corpus), before);
}

TEST_F(MakeWindowFaultTest, AReadOnlyFolderIsToldBeforeARunStarts)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 1, 5000)});
    const fs::path out = root / L"read only";
    UnixMount disk(out, "ro,size=100k");
    if (!disk.mounted())
        GTEST_SKIP() << "a read-only tmpfs cannot be mounted here (mounting needs root)";
    setText(outputFolderEditId, out.native());
    setText(outputNameEditId, L"refused");
    click(makeButtonId);
    EXPECT_FALSE(makeRunning());
    ASSERT_EQ(prompts.size(), 1u);
    const std::wstring said = prompts[0].text;
    EXPECT_EQ(said.rfind(L"Cannot write in the output folder\r\n" + out.native() + L"\r\n", 0), 0u) << said;
    const std::wstring advice = L"\r\nChoose another folder.";
    ASSERT_GT(said.size(), advice.size());
    EXPECT_EQ(said.substr(said.size() - advice.size()), advice) << said;
    // The reason the system gives sits between the folder and the advice.
    EXPECT_GT(said.size(), 35 + out.native().size() + 2 + advice.size()) << said;
    EXPECT_TRUE(folderListing(out).empty());
    EXPECT_TRUE(enabled(makeButtonId));
}

TEST_F(MakeWindowFaultTest, AnOutputHeldOpenIsNotReplacedAndTheEarlierFilesStay)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 2, 20000)});
    const fs::path out = useOutput(L"held");
    setText(lengthsEditId, L"3-4");
    ASSERT_TRUE(makeAndWait());
    const std::vector<std::wstring> made = folderListing(out);
    ASSERT_EQ(made.size(), 6u);
    // The earlier files differ from what the next run makes.
    for (const std::wstring& name : made)
        std::ofstream(out / name, std::ios::binary) << "earlier " << fs::path(name).string();
    const fs::path held = out / L"held-4-Freq-phraseFrames.txt";
    HANDLE holder = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    promptAnswer = IDYES;
    ASSERT_TRUE(makeAndWait());
    ASSERT_EQ(prompts.size(), 2u);
    EXPECT_EQ(prompts[1].text, L"Nothing was written: cannot replace " + held.native() +
                                   L": it is open in another program.");
    EXPECT_EQ(text(phaseLabelId), L"Stopped: no file was written.");
    CloseHandle(holder);
    // Every earlier file as it was, and nothing else.
    EXPECT_EQ(folderListing(out), made);
    for (const std::wstring& name : made)
        EXPECT_EQ(fileBytes(out / name), "earlier " + fs::path(name).string());

    ASSERT_TRUE(makeAndWait());
    EXPECT_EQ(text(phaseLabelId), L"Finished.");
    EXPECT_EQ(folderListing(out), made);
    EXPECT_EQ(fileBytes(held).rfind("earlier", 0), std::string::npos);
}

TEST_F(MakeWindowFaultTest, WhatAKilledRunLeftIsRemovedAndSaidOnlyForItsOwnOutput)
{
    open();
    addToCorpus({writeCorpus(root / L"corpus", 2, 20000)});
    const fs::path out = useOutput(L"again");
    // A killed run of this output: files under temporary names (also of a
    // length this run does not make) and its scratch folder.
    const std::vector<std::wstring> leftovers = {L"again-Alpha-phraseFrames.txt.partial",
                                                 L"again-5-Freq-phraseFrames.txt.partial",
                                                 L".makeframes-again-k3x9q2"};
    std::ofstream(out / leftovers[0], std::ios::binary) << "half";
    std::ofstream(out / leftovers[1], std::ios::binary) << "half";
    fs::create_directories(out / leftovers[2]);
    std::ofstream(out / leftovers[2] / L"lock", std::ios::binary) << "";
    std::ofstream(out / leftovers[2] / L"words", std::ios::binary) << std::string(4000, 'w');
    // Not this output's: another output's leftovers, and the user's own file.
    const std::vector<std::wstring> others = {L".makeframes-again-b-k3x9q2", L"again-b-Alpha-phraseFrames.txt.partial",
                                              L"again-notes.txt"};
    fs::create_directories(out / others[0]);
    std::ofstream(out / others[1], std::ios::binary) << "another run's";
    std::ofstream(out / others[2], std::ios::binary) << "mine";

    ASSERT_TRUE(makeAndWait());
    EXPECT_TRUE(prompts.empty());
    EXPECT_EQ(text(phaseLabelId), L"Finished.");
    std::vector<std::wstring> expected = others;
    expected.push_back(L"again-Alpha-phraseFrames.txt");
    expected.push_back(L"again-Corpus.txt");
    expected.push_back(L"again-Freq-phraseFrames.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderListing(out), expected);
    const std::wstring report = text(resultTextId);
    const size_t said = report.find(L"\r\nremoved what an unfinished earlier run left: ");
    ASSERT_NE(said, std::wstring::npos) << report;
    for (const std::wstring& name : leftovers)
        EXPECT_NE(report.find((out / name).native(), said), std::wstring::npos) << name;
    EXPECT_EQ(fileBytes(out / others[2]), "mine");
}
