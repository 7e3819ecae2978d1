#include "stopwords/driver.h"

#include "common/win/dialogs.h"
#include "common/win/prompts.h"
#include "common/win/system.h"

#include "stopwords_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(StopwordsDriver, ExeFolderEndsInABackslash)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = exeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_EQ(std::string(path).rfind(folder, 0), 0u);
    EXPECT_EQ(std::string(path).find('\\', folder.size()), std::string::npos);
}

TEST(StopwordsDriver, DirectoryListingAndWildcards)
{
    TempFolder folder;
    writeBytes(folder / "a.txt", "");
    writeBytes(folder / "b.txt", "");
    writeBytes(folder / "h.txt", "");
    SetFileAttributesA((folder / "h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    CreateDirectoryA((folder / "d.txt").c_str(), nullptr);
    writeBytes(folder / "c.doc", "");

    std::vector<std::string> names;
    for (const DirectoryEntry& entry : listDirectory(folder / "*.txt"))
        if (isOrdinaryFile(entry))
            names.push_back(entry.name);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"a.txt", "b.txt"}));

    // The expansion keeps the order of the directory search.
    std::vector<std::string> expected;
    for (const std::string& name : names)
        expected.push_back(folder / name);
    expected.insert(expected.begin() + 1, "c.doc");
    EXPECT_EQ(expandWildcards({folder / "*.txt", "c.doc"}, listDirectory), expected);

    // A folder name ending in a backslash lists the folder's plain files.
    std::vector<std::string> all = expandWildcards({folder.path + "?\\"}, listDirectory);
    EXPECT_EQ(all, std::vector<std::string>{folder.path + "?\\"}); // no folder is named "?"
}

TEST(StopwordsDriver, LocatingTheStopwordList)
{
    TempFolder folder;
    bool found = true;
    EXPECT_EQ(locateStopwordList(widePath(folder.path, L""), &found), widePath(folder.path, L"stopwords.txt"));
    EXPECT_FALSE(found);

    writeBytes(folder / "stopwords.txt", "x");
    EXPECT_EQ(locateStopwordList(widePath(folder.path, L""), &found), widePath(folder.path, L"stopwords.txt"));
    EXPECT_TRUE(found);

    writeBytes(folder / "stopwords", "x");
    EXPECT_EQ(locateStopwordList(widePath(folder.path, L""), &found), widePath(folder.path, L"stopwords"));
    EXPECT_TRUE(found);

    // Hidden or system files and folders do not count.
    SetFileAttributesA((folder / "stopwords").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "stopwords.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    locateStopwordList(widePath(folder.path, L""), &found);
    EXPECT_FALSE(found);
    SetFileAttributesA((folder / "stopwords").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA((folder / "stopwords.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder / "stopwords").c_str());
    DeleteFileA((folder / "stopwords.txt").c_str());
    CreateDirectoryA((folder / "stopwords").c_str(), nullptr);
    locateStopwordList(widePath(folder.path, L""), &found);
    EXPECT_FALSE(found);
}

TEST(StopwordsDriver, ProgressWindow)
{
    progressWindow = createProgressWindow();
    ASSERT_NE(progressWindow, nullptr);
    char text[256] = "";
    GetWindowTextA(progressWindow, text, sizeof text);
    EXPECT_STREQ(text, "CorvaleStopwords Progress");
    EXPECT_TRUE(IsWindowVisible(progressWindow));
    LONG style = GetWindowLongA(progressWindow, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU); // no close box
    EXPECT_EQ(GetWindow(progressWindow, GW_OWNER), nullptr);

    HWND label = GetDlgItem(progressWindow, progressLabelId);
    ASSERT_NE(label, nullptr);
    GetClassNameA(label, text, sizeof text);
    EXPECT_STREQ(text, "Static");
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "");
    // The controls' font, which draws every European script the dialog's does not.
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(controlFont(progressWindow)));

    // The window's client area sits at 69, 76 on the screen and measures
    // 235 x 60; the label sits at 5, 5 and measures 225 x 50 (dialog units).
    RECT expected = {69, 76, 69 + 235, 76 + 60};
    MapDialogRect(progressWindow, &expected);
    POINT origin = {0, 0};
    ClientToScreen(progressWindow, &origin);
    EXPECT_EQ(origin.x, expected.left);
    EXPECT_EQ(origin.y, expected.top);
    RECT size = {0, 0, 235, 60};
    MapDialogRect(progressWindow, &size);
    RECT client;
    GetClientRect(progressWindow, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    RECT labelUnits = {5, 5, 230, 55};
    MapDialogRect(progressWindow, &labelUnits);
    RECT labelRect;
    GetWindowRect(label, &labelRect);
    MapWindowPoints(nullptr, progressWindow, reinterpret_cast<POINT*>(&labelRect), 2);
    EXPECT_EQ(labelRect.left, labelUnits.left);
    EXPECT_EQ(labelRect.top, labelUnits.top);
    EXPECT_EQ(labelRect.right, labelUnits.right);
    EXPECT_EQ(labelRect.bottom, labelUnits.bottom);

    showProgress(" 3 stopwords read");
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, " 3 stopwords read");

    DestroyWindow(progressWindow);
    progressWindow = nullptr;
}

TEST(StopwordsDriver, NamesAreMarkedWhereACharacterHasNoAnsiForm)
{
    const std::string m(1, unhandledCharacterMark);
    // Cyrillic has no form in the code pages these tests run under.
    ASSERT_NE(GetACP(), 1251u);
    EXPECT_EQ(markedAnsiText(L"\x0444\x0430\x0439\x043B.txt"), m + m + m + m + ".txt");
    EXPECT_EQ(markedAnsiText(L"plain name.txt"), "plain name.txt");
    if (GetACP() == 1252) {
        EXPECT_EQ(markedAnsiText(L"caf\x00E9.txt"), "caf\xE9.txt");
        // Best fit would turn this into a plain 'A'.
        EXPECT_EQ(markedAnsiText(L"\x0100.txt"), m + ".txt");
    }

    // Directory searches give marked names too, so no '?' in a found name is
    // ever taken for a wildcard or opened.
    TempFolder folder;
    std::wstring foreign = widePath(folder.path, L"\x0444\x0430\x0439\x043B.txt");
    HANDLE file = CreateFileW(foreign.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    std::vector<DirectoryEntry> entries = listDirectory(folder / "*.txt");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, m + m + m + m + ".txt");
}

TEST(StopwordsDriver, SkippedFilesBox)
{
    std::vector<std::string> texts;
    std::vector<std::string> captions;
    std::vector<UINT> styles;
    setMessageBoxAnswerer([&](const char* text, const char* caption, UINT style) {
        texts.push_back(text);
        captions.push_back(caption);
        styles.push_back(style);
        return IDOK;
    });
    showSkippedFiles({{"a.txt", SkipReason::readOnly}});
    setMessageBoxAnswerer(nullptr);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0], skippedFilesText({{"a.txt", SkipReason::readOnly}}));
    EXPECT_EQ(captions[0], "CorvaleStopwords");
    EXPECT_EQ(styles[0], static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
}
