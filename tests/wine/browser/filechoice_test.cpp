#include "browser_fixture.h"

#include "browser/filechoice.h"
#include "browser/loader.h"

namespace {

std::string readWholeFile(const std::string& path)
{
    std::string content;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    CloseHandle(file);
    return content;
}

class FileChoiceTest : public BrowserTest {
protected:
    void SetUp() override
    {
        BrowserTest::SetUp();
        DeleteFileW(settingsPath().c_str());
    }
    void TearDown() override
    {
        DeleteFileW(settingsPath().c_str());
        BrowserTest::TearDown();
    }
};

} // namespace

TEST_F(FileChoiceTest, SettingsFileSitsBesideTheExecutable)
{
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string expected(module);
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Corvale.cfg";
    EXPECT_EQ(narrowText(settingsPath()), expected);
}

TEST_F(FileChoiceTest, ChoiceIsRememberedAndClassified)
{
    std::string alpha = writeFile("corpus-Alpha-phraseFrames.txt", twoFrameFile);
    chosenFile = alpha;
    openBrowser("");
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(dialogInitialFolder, current);
    EXPECT_EQ(frameCount, 2);

    std::string folder = tempFolder() + "\\";
    EXPECT_EQ(lastPath, folder);
    EXPECT_EQ(readSetting("lastpath", "Runtime"), folder);
    EXPECT_NE(readWholeFile(narrowText(settingsPath())).find("[Runtime]\r\nlastpath=" + folder), std::string::npos);
    EXPECT_EQ(loadedFileName, "corpus-Alpha-phraseFrames.txt");
    EXPECT_EQ(sortDescription, "sorted alphabetically in ascending order");
    EXPECT_EQ(fileIsFreqOrder, 0);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0), BST_UNCHECKED);

    chosenFile = writeFile("corpus-Freq-phraseFrames.txt", twoFrameFile);
    command(openCommandId);
    EXPECT_EQ(dialogInitialFolder, folder);
    EXPECT_EQ(sortDescription, "sorted by frequency rank in descending order");
    EXPECT_EQ(fileIsFreqOrder, 1);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, alphaButtonId, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendDlgItemMessageA(mainWindow, freqButtonId, BM_GETCHECK, 0, 0), BST_CHECKED);

    // Another letter case is not classified: the previous one stays.
    chosenFile = writeFile("corpus-alpha-phraseframes.txt", twoFrameFile);
    command(openCommandId);
    EXPECT_EQ(loadedFileName, "corpus-alpha-phraseframes.txt");
    EXPECT_EQ(fileIsFreqOrder, 1);
    EXPECT_EQ(sortDescription, "sorted by frequency rank in descending order");
}

TEST_F(FileChoiceTest, StoredFolderIsReadWithoutSurroundingSpaces)
{
    WritePrivateProfileStringW(L"Runtime", L"lastpath", L"   D:\\corpora\\   ", settingsPath().c_str());
    openBrowser("");
    EXPECT_EQ(dialogInitialFolder, "D:\\corpora\\");
    EXPECT_EQ(lastPath, "D:\\corpora\\");
}

TEST_F(FileChoiceTest, CancelLeavesSettingsAndDataAsTheyWere)
{
    chosenFile = writeFile("a-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser("");
    std::string settings = readWholeFile(narrowText(settingsPath()));
    ASSERT_FALSE(settings.empty());
    std::string status = controlText(statusLabelId);

    chosenFile.clear();
    command(openCommandId);
    EXPECT_EQ(dialogCalls, 2);
    EXPECT_EQ(readWholeFile(narrowText(settingsPath())), settings);
    EXPECT_EQ(controlText(statusLabelId), status);
    EXPECT_EQ(frameCount, 2);
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(FileChoiceTest, DialogGetsFilterCaptionFlagsAndExtension)
{
    OPENFILENAMEW seen = {};
    std::string filter, title, extension;
    setWideOpenFileAnswerer([&](OPENFILENAMEW* ofn) -> BOOL {
        seen = *ofn;
        const wchar_t* p = ofn->lpstrFilter;
        while (*p)
            p += wcslen(p) + 1;
        filter = narrowText(std::wstring(ofn->lpstrFilter, p + 1 - ofn->lpstrFilter));
        title = narrowText(ofn->lpstrTitle);
        extension = narrowText(ofn->lpstrDefExt);
        return FALSE;
    });
    openBrowser("");
    // The old structure's size: 76 bytes in the 32-bit program.
    if (sizeof(void*) == 4) {
        EXPECT_EQ(DWORD(OPENFILENAME_SIZE_VERSION_400W), 76u);
    }
    EXPECT_EQ(seen.lStructSize, DWORD(OPENFILENAME_SIZE_VERSION_400W));
    EXPECT_EQ(seen.hwndOwner, mainWindow);
    EXPECT_EQ(filter, std::string("Phrase Frames Files\0*phraseframes.txt\0All Files\0*.*\0\0", 53));
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(seen.nMaxFile, 260u);
    EXPECT_EQ(title, "Select Phrase Frame file to display . . .");
    EXPECT_EQ(extension, "BAS");
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES));
}

namespace {

// Variant lines in alphabetical order, which is not their frequency order;
// frames in alphabetical order, which is not their frequency order either.
const char alphaOrderedFile[] = "in * of\t9\t2\r\nin all of\t1\r\nin one of\t8\r\n\r\nof * the\t30\t1\r\nof it the\t30\r\n";

LRESULT checkOf(int id)
{
    return SendDlgItemMessageA(mainWindow, id, BM_GETCHECK, 0, 0);
}

} // namespace

// The first file of a run is classified before it loads: its pane shows the
// file's own order, and the first click on the column it is ordered by
// reverses it.
TEST_F(FileChoiceTest, FirstChosenFileIsShownInItsOwnOrder)
{
    chosenFile = writeFile("corpus-Alpha-phraseFrames.txt", alphaOrderedFile);
    openBrowser("");
    EXPECT_EQ(checkOf(alphaButtonId), BST_CHECKED);
    EXPECT_EQ(paneText(), "in all of\t1\r\nin one of\t8");
    EXPECT_EQ(sortState[2], -1);
    EXPECT_EQ(sortState[3], 0);
    EXPECT_EQ(loadedFileName, "corpus-Alpha-phraseFrames.txt");
    clickHeading(2);
    EXPECT_EQ(sortDescription, "sorted by phrase frame in descending order");
    EXPECT_EQ(cell(1, 2), "of * the");

    chosenFile = writeFile("corpus-Freq-phraseFrames.txt", "a * b\t5\t2\r\na x b\t5\r\na y b\t1\r\n\r\nc *\t2\t1\r\nc d\t2\r\n");
    command(openCommandId);
    EXPECT_EQ(sortState[3], -1);
    EXPECT_EQ(sortState[2], 0);
    EXPECT_EQ(paneText(), "a x b\t5\r\na y b\t1");
    clickHeading(3);
    EXPECT_EQ(sortDescription, "sorted by frequency in ascending order");
    EXPECT_EQ(cell(1, 2), "c *");
}

// A load that does not replace the data (Cancel on the size warning, not
// enough memory) leaves the shown file's name and classification; the next
// Open starts in the folder of the choice, while the settings keep the
// folder of the file that loaded.
TEST_F(FileChoiceTest, LoadThatDidNotReplaceTheDataKeepsTheShownFilesNameAndOrder)
{
    chosenFile = writeFile("corpus-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser("");
    ASSERT_EQ(frameCount, 2);
    clickHeading(1);
    const std::vector<std::string> shownFrames = frames;
    const std::vector<int32_t> shownSortState(sortState, sortState + 5);
    const std::string shownDescription = sortDescription;

    CreateDirectoryA((tempFolder() + "\\other").c_str(), nullptr);
    chosenFile = writeFile("other\\huge-Alpha-phraseFrames.txt", twoFrameFile);
    const struct {
        const char* what;
        int64_t sizeSeen;
        int answer;
        size_t prompts;
        int rows;
    } attempts[] = {
        {"Cancel on the size warning", 60000000, IDCANCEL, 1, 2},
        // Longer than a string can be on this build.
        {"not enough memory", static_cast<int64_t>(std::string().max_size()) + 1, IDOK, 2, 2},
    };
    for (const auto& attempt : attempts) {
        SCOPED_TRACE(attempt.what);
        prompts.clear();
        promptAnswer = attempt.answer;
        loaderFileSizeForTests = attempt.sizeSeen;
        command(openCommandId);
        loaderFileSizeForTests = -1;
        ASSERT_EQ(prompts.size(), attempt.prompts);
        EXPECT_EQ(prompts[0].text, largeFileWarning);
        if (attempt.prompts == 2) {
            EXPECT_EQ(prompts[1].text, "There is not enough memory to load\r\n" + chosenFile +
                                           "\r\n\r\nThe file shown before stays loaded.");
        }

        EXPECT_EQ(frames, shownFrames);
        EXPECT_EQ(rowCount(), attempt.rows);
        EXPECT_EQ(loadedFileName, "corpus-Freq-phraseFrames.txt");
        EXPECT_EQ(sortDescription, shownDescription);
        EXPECT_EQ(fileIsFreqOrder, 1);
        EXPECT_EQ(checkOf(alphaButtonId), BST_UNCHECKED);
        EXPECT_EQ(checkOf(freqButtonId), BST_CHECKED);
        EXPECT_EQ(std::vector<int32_t>(sortState, sortState + 5), shownSortState);
        EXPECT_EQ(lastPath, tempFolder() + "\\other\\");
        EXPECT_EQ(readSetting("lastpath", "Runtime"), tempFolder() + "\\");
    }
    promptAnswer = IDOK;
    prompts.clear();
    clickButton(copyAllButtonId);
    const std::string header =
        "corpus-Freq-phraseFrames.txt, 2 phrase-frames,\r\nsorted by frequency rank in descending order\r\n";
    EXPECT_EQ(clipboardText().substr(0, header.size()), header);
}
