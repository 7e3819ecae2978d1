// The variant pane: the selected frame's summary and its variant lines.
#pragma once
#include <windows.h>
#include <string>

// Shows frame selectedIndex unless it is already shown.
void showSelected();

// Reorders variant lines as the "&Alpha"/"&Freq" buttons say (force: even
// when the file is already in that order).
void orderVariants(std::string& text, bool force);

// Callback of both option buttons: reorders whatever the pane holds.
INT_PTR reorderPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Freqs Left (right = false) and Freqs Right, at most one per 150 ms.
void stepTabStop(bool right);

// Puts plain text into the pane and lays out its tabs at tabStop.
void setPaneText(const std::string& text);
void applyTabStop();
