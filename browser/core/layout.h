// Layout of the main window: control positions given as percentages of a
// reference screen of 800 x 543 pixels, converted to dialog units.
#pragma once
#include <cstdint>

// Rounds to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4),
// saturating at the ends of the signed 32-bit range.
int32_t roundHalfEven(long double value);

// Pixels per vertical dialog unit as the layout assumes it for a measured
// horizontal scale: 1.855 below 1.75, else 1.9.
float unitScaleYFor(float unitScaleX);

// p percent of the reference width (800) or height (543) in dialog units:
// 800 * p * 0.01 / unitScaleX in extended precision, with 0.01 held as a
// single-precision constant, rounded half to even.
int32_t pctX(float p, float unitScaleX);
int32_t pctY(float p, float unitScaleY);

// Widths of the list's first columnCount columns (see listcolumns.h) for a
// list of listPixelWidth pixels: W = listPixelWidth - 4 - verticalScrollWidth,
// then each column's percentage of W, rounded half to even, the Phrase-Frame
// column taking what the others leave: 8 %, 70 %, 11 % and 11 % for the four
// record columns alone. The percentages are applied exactly (integer
// arithmetic), so a half such as 11 % of 50 = 5.5 gives 6.
void listColumnWidths(int32_t listPixelWidth, int32_t verticalScrollWidth, int32_t widths[], int columnCount = 4);

// A control's place in dialog units of the main window.
struct ControlBox {
    int32_t x, y, width, height;
};

// Where the main window's control with this id goes for the measured scales
// (the window itself: id 0). The percentages of the reference screen are
// written here only. An unknown id gives an empty box.
ControlBox mainControlBox(int controlId, float unitScaleX, float unitScaleY);
