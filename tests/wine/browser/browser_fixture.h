// Shared set-up for the in-process tests of the browser's real windows.
#pragma once
#include "browser/main.h"
#include "browser/state.h"
#include "common/win/prompts.h"

#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

struct Prompt {
    std::string text;
    std::string caption;
    UINT style;
};

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the main window and hands it the command line "prog.exe " + tail.
    HWND openBrowser(const std::string& commandTail);

    // Writes a file in this test's own temporary folder; returns its full name.
    std::string writeFile(const std::string& name, const std::string& content);
    std::string tempFolder() const { return folder; }

    // Lets the windows handle every pending message.
    static void pumpMessages();

    static std::string windowText(HWND window);
    static std::string controlText(int id) { return windowText(GetDlgItem(mainWindow, id)); }
    static std::string cell(int row, int column);
    static int rowCount();
    static int selectedRow();
    static std::string paneText();
    static void selectListRow(int row);
    static void clickHeading(int column);
    static void command(int id);
    // Freqs Left/Right as a key held down past the repeat delay: the step
    // counts as long ago, whatever the clock under a loaded machine says.
    static void stepCommand(int id);

    // BM_CLICK on a control of window (the main window when null), then the
    // messages the click causes.
    static void clickButton(int id, HWND window = nullptr);
    // The clipboard's CF_TEXT, empty when it holds none.
    static std::string clipboardText();
    static void putOnClipboard(const std::string& text);
    // First position of text in the pane (EM_FINDTEXT), -1 when absent.
    static LONG panePosition(const std::string& text);
    // Character format of the pane's characters from..to (EM_GETCHARFORMAT
    // on that selection): a mask bit is clear when the range is mixed.
    static CHARFORMATA paneFormat(LONG from, LONG to);

    // Message boxes seen, and the answer the next ones get.
    std::vector<Prompt> prompts;
    int promptAnswer = IDOK;
    // The open-file dialog's answer: empty cancels; otherwise the chosen name
    // (chosenWideFile, when set, for a name outside the ANSI code page).
    std::string chosenFile;
    std::wstring chosenWideFile;
    std::string dialogInitialFolder;
    int dialogCalls = 0;

private:
    std::string folder;
    std::string commandLine;
};

// Two records in the file's own CR LF layout.
extern const char twoFrameFile[];
