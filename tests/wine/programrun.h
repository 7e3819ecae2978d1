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

// Starts the browser with exactly this command line (CreateProcessA hands it
// over unchanged), waits for its main window, reads the two labels, closes it.
ProgramRun runBrowserProgram(const std::string& exe, std::string commandLine);
