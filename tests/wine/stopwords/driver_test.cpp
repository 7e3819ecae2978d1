#include "stopwords/driver.h"

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
    EXPECT_EQ(locateStopwordList(folder.path, &found), folder / "stopwords.txt");
    EXPECT_FALSE(found);

    writeBytes(folder / "stopwords.txt", "x");
    EXPECT_EQ(locateStopwordList(folder.path, &found), folder / "stopwords.txt");
    EXPECT_TRUE(found);

    writeBytes(folder / "stopwords", "x");
    EXPECT_EQ(locateStopwordList(folder.path, &found), folder / "stopwords");
    EXPECT_TRUE(found);

    // Hidden or system files and folders do not count.
    SetFileAttributesA((folder / "stopwords").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((folder / "stopwords.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
    locateStopwordList(folder.path, &found);
    EXPECT_FALSE(found);
    SetFileAttributesA((folder / "stopwords").c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA((folder / "stopwords.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA((folder / "stopwords").c_str());
    DeleteFileA((folder / "stopwords.txt").c_str());
    CreateDirectoryA((folder / "stopwords").c_str(), nullptr);
    locateStopwordList(folder.path, &found);
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
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), SendMessageA(progressWindow, WM_GETFONT, 0, 0));

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
