// The variant pane: the selected frame's summary and its variant lines.
#pragma once
#include <windows.h>
#include <cstdint>
#include <string>

// How the pane is created (its scroll bar bits come and go with the text, so
// a fresh pane takes these rather than the old one's current style).
extern const DWORD variantPaneStyle;
extern const DWORD variantPaneExStyle;

// Empties the pane before its whole content is replaced, and counts the
// replacement (paneReplacements). Under Wine a pane that holds text is
// replaced by a fresh control in its place; variantPane then names it.
void emptyPane();

// Every fill of the pane with variant lines of frame index, as the pane is to
// show them: plain, or with the matches of search in bold (Find; see
// showMatches). It is noted (noteFill), so that "&Alpha"/"&Freq" order the
// whole frame, not only the part the pane holds. lines is taken.
void fillPaneWithFrame(int32_t index, std::string& lines, const std::string& search = std::string(),
                       bool matchCase = true);

// Shows frame selectedIndex unless it is already shown: its label, and its
// variant lines in the pane unless searchFillsPane is set (see panerefill.h).
void showSelected();

// Reorders variant lines as the "&Alpha"/"&Freq" buttons say (force: even
// when the file is already in that order).
void orderVariants(std::string& text, bool force);

// Callback of both option buttons: reorders whatever the pane holds; a frame
// that showSelected put there is ordered whole and shown again.
INT_PTR reorderPane(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Freqs Left (right = false) and Freqs Right, at most one per 150 ms.
void stepTabStop(bool right);

// Replaces the pane's content with plain text, its tabs laid out at tabStop.
void setPaneText(const std::string& text);
void applyTabStop();
