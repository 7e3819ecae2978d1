// Rich text for the variant pane: the search-result document with its matches
// in bold (case-insensitive with the fold of casefold.h), and the help
// document.
#pragma once
#include "browser/core/casefold.h"

#include <string>

// The start of every document the pane receives; it ends with a blank.
extern const char rtfHeader[];

// Backslashes and braces escaped so the text reaches the pane as literal
// characters; each CR LF pair becomes a paragraph mark and each NUL a blank.
std::string escapeRtf(const std::string& text);

// The whole RTF document showing text (variant lines joined by CR LF) with
// every match of search in bold. Matches are found on the text's own bytes;
// each NUL byte is then written as a blank (see blankNuls).
// When matchCase is false both sides are compared folded with upperCase and
// the bold bytes keep the text's own case. See rtf.cpp for how line ends and
// match boundaries meet. With utf8 the text and search are UTF-8: folded
// with upperCaseUtf8, each character beyond ASCII written as \uN? (a byte
// that is no valid UTF-8 as U+FFFD), so the document itself is ASCII.
std::string matchesRtf(const std::string& text, const std::string& search, bool matchCase, bool utf8 = false);

// The whole RTF help document.
std::string helpRtf();
