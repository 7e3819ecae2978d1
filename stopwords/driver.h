// The filter's entry: help or a run over the named files with a progress
// window and a summary.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "stopwords/tailsplit.h"

const int progressLabelId = 1001;

// The only window of a run; null outside one.
extern HWND progressWindow;

// Full path of the running executable up to and including its last backslash.
std::string exeFolder();

// The entries of a directory search (FindFirstFileA, FindNextFileA).
std::vector<DirectoryEntry> listDirectory(const std::string& pattern);

// Folder + "stopwords", or folder + "stopwords.txt" when the first is not an
// ordinary file; found tells whether the returned path is one.
std::string locateStopwordList(const std::string& folder, bool* found);

HWND createProgressWindow();

// Sets the progress label, lets one pending message through and waits 100 ms.
void showProgress(const std::string& text);

// Everything the program does for one command tail. Returns the exit status.
int runStopwordFilter(const std::string& tail);
