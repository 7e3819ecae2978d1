// Copying the selected frame, or the whole list, to the clipboard as text.
#pragma once
#include <windows.h>
#include <string>

// Puts text on the clipboard; returns the handle the clipboard took, or 0
// when nothing was copied.
HANDLE copyToClipboard(const std::string& text);

// Callbacks of "&Copy p-frame + vars" and "Copy all as &sorted".
INT_PTR copyFrameWithVariants(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR copyAllSorted(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
