// How much of a frame's text the window's controls are handed. A frame can
// hold hundreds of megabytes; the rich edit pane and the labels cannot take
// that (the pane runs out of memory or fails inside), so they get a bounded
// excerpt and a note that says what is left out. Find and the copy buttons
// still work on the whole record.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The most bytes of variant text the pane is handed at once, and of one line
// of it. Both rich edits hold the text as UTF-16 with records per line and
// per run; Wine's fails an internal check with a 200 MB line and lays a long
// line out in time that grows with the square of its length (measured under
// Wine 8: 8,000 bytes 1.2-1.4 s, 32,000 bytes 11-19 s, 64,000 bytes about
// a minute), while many short lines cost little each (200,000 lines in about
// 4 s). One megabyte holds every frame of ordinary corpora whole (tens of
// thousands of variants); 1,000 bytes is ten times the longest variant line
// they have. Windows' rich edit cuts streamed RTF at its text limit, 32,767
// characters unless raised, so the pane's limit is raised to paneTextBound.
constexpr size_t paneTextBound = 1000000;
constexpr size_t paneLineBound = 1000;

// The most bytes of one header field shown in the frame's label.
constexpr size_t labelFieldBound = 255;

// Each NUL byte of text made a blank. The window's controls and programs
// that paste from the clipboard take a NUL as the end of the text, so
// everything after it would be lost to the user; the file format allows the
// byte, and the records keep it.
void blankNuls(std::string& text);

// What the pane gets of text (lines separated by CR LF): the lines from the
// first on, each longer than lineBound bytes cut to its first lineBound
// bytes, as long as they fit in bound bytes in all (the CR LF between them
// counted, none after the last). A long line is shortened, never the end of
// what is shown. lineBound is at most bound.
struct PaneExcerpt {
    std::string text;
    size_t linesShown = 0; // lines of text in the excerpt
    size_t linesCut = 0;   // of those, the ones shortened to lineBound bytes
};
PaneExcerpt paneExcerpt(std::string_view text, size_t bound = paneTextBound, size_t lineBound = paneLineBound);

// Lines of text: the number of CR LF plus one; 0 for an empty text.
size_t lineCount(std::string_view text);

// The note after the frame's label about what of its variant text (the whole
// of it, text) the excerpt leaves out; empty when nothing. "  (first 1,234 of
// 5,678 variants shown)", "  (2 variants cut at 1,000 bytes)", or both:
// "  (first 1,234 of 5,678 variants shown, 1 cut at 1,000 bytes)".
std::string excerptNote(std::string_view text, const PaneExcerpt& excerpt, size_t lineBound = paneLineBound);
