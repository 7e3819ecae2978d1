// The filter's entry: help or a run over the named files with a progress
// window and a summary.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "stopwords/core/filtertexts.h"
#include "stopwords/core/tailsplit.h"

const int progressLabelId = 1001;

// The only window of a run; null outside one.
extern HWND progressWindow;

// A UTF-16 text (a command line, a file name) in the ANSI code page, with
// unhandledCharacterMark for each character that has no exact ANSI form.
std::string markedAnsiText(const wchar_t* wide);

// The command line as the system gave it, so marked.
std::string markedCommandLine();

// The entries of a directory search, names marked as above.
std::vector<DirectoryEntry> listDirectory(const std::string& pattern);

// Folder + "stopwords", or folder + "stopwords.txt" when the first is not an
// ordinary file; found tells whether the returned path is one. Wide, so a
// program folder named outside the ANSI code page is found too.
std::wstring locateStopwordList(const std::wstring& folder, bool* found);

HWND createProgressWindow();

// Sets the progress label, lets one pending message through and waits 100 ms.
void showProgress(const std::string& text);

// The box listing each skipped name with its reason.
void showSkippedFiles(const std::vector<SkippedFile>& skipped);

// Everything the program does for one command tail. Returns the exit status.
int runStopwordFilter(const std::string& tail);
