#include "browser_fixture.h"

#include "browser/filechoice.h"

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
        DeleteFileA(settingsPath().c_str());
    }
    void TearDown() override
    {
        DeleteFileA(settingsPath().c_str());
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
    EXPECT_EQ(settingsPath(), expected);
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
    EXPECT_NE(readWholeFile(settingsPath()).find("[Runtime]\r\nlastpath=" + folder), std::string::npos);
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
    WritePrivateProfileStringA("Runtime", "lastpath", "   D:\\corpora\\   ", settingsPath().c_str());
    openBrowser("");
    EXPECT_EQ(dialogInitialFolder, "D:\\corpora\\");
    EXPECT_EQ(lastPath, "D:\\corpora\\");
}

TEST_F(FileChoiceTest, CancelLeavesSettingsAndDataAsTheyWere)
{
    chosenFile = writeFile("a-Freq-phraseFrames.txt", twoFrameFile);
    openBrowser("");
    std::string settings = readWholeFile(settingsPath());
    ASSERT_FALSE(settings.empty());
    std::string status = controlText(statusLabelId);

    chosenFile.clear();
    command(openCommandId);
    EXPECT_EQ(dialogCalls, 2);
    EXPECT_EQ(readWholeFile(settingsPath()), settings);
    EXPECT_EQ(controlText(statusLabelId), status);
    EXPECT_EQ(frameCount, 2);
    EXPECT_EQ(rowCount(), 2);
}

TEST_F(FileChoiceTest, DialogGetsFilterCaptionFlagsAndExtension)
{
    OPENFILENAMEA seen = {};
    std::string filter, title, extension;
    setOpenFileAnswerer([&](OPENFILENAMEA* ofn) -> BOOL {
        seen = *ofn;
        const char* p = ofn->lpstrFilter;
        while (*p)
            p += strlen(p) + 1;
        filter.assign(ofn->lpstrFilter, p + 1 - ofn->lpstrFilter);
        title = ofn->lpstrTitle;
        extension = ofn->lpstrDefExt;
        return FALSE;
    });
    openBrowser("");
    EXPECT_EQ(seen.lStructSize, 76u);
    EXPECT_EQ(seen.hwndOwner, mainWindow);
    EXPECT_EQ(filter, std::string("Phrase Frames Files\0*phraseframes.txt\0All Files\0*.*\0\0", 53));
    EXPECT_EQ(seen.nFilterIndex, 1u);
    EXPECT_EQ(seen.nMaxFile, 260u);
    EXPECT_EQ(title, "Select Phrase Frame file to display . . .");
    EXPECT_EQ(extension, "BAS");
    EXPECT_EQ(seen.Flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_LONGNAMES));
}
