// Loading a phrase-frame file into the browser state and the list.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// Replaces the loaded data with the records of fileName, shows the summary
// line and the first frame. Changes only the list's row count when the user
// declines a large file, and nothing when memory runs out.
void loadPhraseFrameFile(const std::string& fileName);

// Selects list row n (1-based), scrolls it into view and focuses the list.
void selectRow(int32_t n);

uint32_t availablePhysicalMemory();
void setItemCount(HWND list, int32_t count, LPARAM flags);

extern const char largeFileWarning[];
