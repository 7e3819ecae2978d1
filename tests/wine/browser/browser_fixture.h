// Shared set-up for the in-process tests of the browser's real windows.
#pragma once
#include "browser/main.h"
#include "browser/state.h"
#include "common/prompts.h"

#include <windows.h>
#include <commctrl.h>
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

    // Message boxes seen, and the answer the next ones get.
    std::vector<Prompt> prompts;
    int promptAnswer = IDOK;
    // The open-file dialog's answer: empty cancels; otherwise the chosen name.
    std::string chosenFile;
    std::string dialogInitialFolder;
    int dialogCalls = 0;

private:
    std::string folder;
    std::string commandLine;
};

// Two records in the file's own CR LF layout.
extern const char twoFrameFile[];
