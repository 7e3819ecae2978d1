// One run of the real browser, driven from outside its process.
#pragma once
#include <windows.h>

#include <string>

// What one run of the program showed before it was closed.
struct ProgramRun {
    bool windowFound = false;
    bool endedInTime = false;
    DWORD exitCode = 1;
    std::string status;
    std::string frameInfo;
};

const char browserCaption[] = "CorvalePhraseFrames Browser beta 13 Oct 06";

// A visible top-level window of the process whose caption starts with this
// text; null when there is none.
HWND findWindow(DWORD processId, const char* caption);

// The same, waited for up to a minute; null when it did not come or the
// process ended first.
HWND waitForWindow(const PROCESS_INFORMATION& process, const char* caption);

// Starts exe with exactly this command line (CreateProcessA hands it over
// unchanged); false, with the system's error code in GetLastError, when it
// could not be started.
bool startProgram(const std::string& exe, std::string commandLine, PROCESS_INFORMATION& process);

// Starts the browser with exactly this command line (CreateProcessA hands it
// over unchanged), waits for its main window, reads the two labels, closes it.
ProgramRun runBrowserProgram(const std::string& exe, std::string commandLine);
