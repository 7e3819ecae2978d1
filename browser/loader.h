// Loading a phrase-frame file into the browser state and the list.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// Replaces the loaded data with the records of fileName, shows the summary
// line and the first frame; returns true then. A file that cannot be opened
// or read loads as empty content and is also reported in a box. Returns
// false when the data was not replaced: the user declined a large file (the
// list then shows no rows; the records and their sort state stay), or memory
// ran out (everything stays as it was, and a box says so).
bool loadPhraseFrameFile(const std::string& fileName);

// Tests make the size check see this size instead of the file's (-1: the
// file's own), to reach the limits of the running build without huge files.
extern int64_t loaderFileSizeForTests;

// Selects list row n (1-based), scrolls it into view and focuses the list.
void selectRow(int32_t n);

void setItemCount(HWND list, int32_t count, LPARAM flags);

extern const char largeFileWarning[];
