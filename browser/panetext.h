// How much of a frame's text the window's controls are handed. A frame can
// hold hundreds of megabytes; the rich edit pane and the labels cannot take
// that (the pane runs out of memory or fails inside), so they get a bounded
// excerpt and a note that says what is left out. Find and the copy buttons
// still work on the whole record.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The most bytes of variant text the pane is handed at once. One megabyte is
// far below what both rich edits fail at (Wine's fails an internal check
// with a 200 MB line; its text is held as UTF-16 plus per-line records), it
// holds every frame of ordinary corpora whole (tens of thousands of
// variants), and it keeps a refill of the pane to a few seconds under Wine.
// The pane's own text limit is raised to it, since Windows' rich edit
// otherwise cuts streamed RTF at 32,767 characters.
constexpr size_t paneTextBound = 1000000;

// The most bytes of one header field shown in the frame's label.
constexpr size_t labelFieldBound = 255;

// How many leading bytes of text (lines separated by CR LF) the pane gets:
// all of it when it has at most bound bytes; otherwise the whole lines that
// fit in bound bytes (without the CR LF after the last of them), or the first
// bound bytes of the first line when that line alone is longer.
size_t paneExcerptLength(std::string_view text, size_t bound = paneTextBound);

// Lines of text: the number of CR LF plus one; 0 for an empty text.
size_t lineCount(std::string_view text);

// The note after the frame's label when its variant text (the whole of it,
// text) is shown only up to excerptLength bytes; empty when nothing is left
// out. "  (first 1,234 of 5,678 variants shown)", or, when not even the first
// line is shown whole, "  (first 1,000,000 of 300,000,000 bytes shown)".
std::string excerptNote(std::string_view text, size_t excerptLength);
