// Loading a phrase-frame file into the browser state and the list.
#pragma once
#include "common/win/widetext.h"

#include <windows.h>
#include <cstdint>
#include <string>

// Replaces the loaded data with the records of fileName, shows the summary
// line and the first frame; returns true then, after a box when the file
// does not look like a phrase-frame file. Returns false when the data was not
// replaced, and then everything shown stays as it was: the file could not be
// opened or read, or memory ran out (a box says so), or the user declined a
// large file.
// fileName is the name as the system has it, in any script; the summary line
// and the boxes show it in the ANSI code page (see narrowText).
bool loadPhraseFrameFile(const std::wstring& fileName);

// The same for a name in the ANSI code page.
bool loadPhraseFrameFile(const std::string& fileName);

// Tests make the size check see this size instead of the file's (-1: the
// file's own), to reach the limits of the running build without huge files.
extern int64_t loaderFileSizeForTests;

// Selects list row n (1-based), scrolls it into view and focuses the list.
void selectRow(int32_t n);

void setItemCount(HWND list, int32_t count, LPARAM flags);

extern const char largeFileWarning[];
