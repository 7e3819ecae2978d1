// Rich-text documents in the variant pane: search matches and the help.
#pragma once
#include <windows.h>
#include <string>

// Hands a complete RTF document to the pane, replacing its contents.
void streamRtf(const std::string& rtf);

// Shows variant lines with every match of search in bold. With matchCase
// false, search must already be folded with upperCase.
void showMatches(const std::string& text, const std::string& search, bool matchCase);

// Callback of the "  &Help" menu item.
INT_PTR showHelp(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
