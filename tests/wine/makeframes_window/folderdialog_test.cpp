// The real folder chooser (no answerer installed), driven from a second
// thread: it opens in the folder it is given and takes a name typed in its
// path box.
#include "common/win/holders.h"
#include "common/win/prompts.h"
#include "testcorpus.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <thread>

namespace fs = std::filesystem;

namespace {

BOOL CALLBACK findShownDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    if (!IsWindowVisible(window) || std::wstring(className) != L"#32770")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

} // namespace

TEST(FolderDialog, OpensInTheFolderGivenAndTakesANameTypedInItsPathBox)
{
    ComInitialized com;
    const fs::path start = newTempFolder(L"folderdialog");
    fs::create_directory(start / L"inner");
    const DWORD thread = GetCurrentThreadId();
    bool typed = false;
    std::thread user([thread, &typed] {
        HWND dialog = nullptr;
        for (DWORD began = GetTickCount(); !dialog && GetTickCount() - began < 60000; Sleep(20))
            EnumThreadWindows(thread, findShownDialog, reinterpret_cast<LPARAM>(&dialog));
        // The file name box (its id in the common file dialogs), then Open.
        HWND pathBox = dialog ? GetDlgItem(dialog, 1152) : nullptr;
        typed = pathBox && SendMessageW(pathBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"inner"));
        if (dialog)
            PostMessageW(GetDlgItem(dialog, typed ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
    });
    std::wstring folder = start.native();
    const bool chosen = showFolderDialog(nullptr, L"A folder", folder);
    user.join();
    EXPECT_TRUE(typed) << "no path box";
    EXPECT_TRUE(chosen);
    // "inner" was taken from the folder the chooser opened in.
    EXPECT_EQ(folder, (start / L"inner").native());
    std::error_code ignored;
    fs::remove_all(start, ignored);
}
