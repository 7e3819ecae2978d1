// Cyrillic and Greek drawn as letters in the real list and pane: the pixels
// of different letters differ (a missing glyph is one box for them all), and
// a blank between two words takes room.
#include "browser_fixture.h"

#include <vector>

namespace {

// The dark pixels of a window's client area, one flag per pixel.
struct Ink {
    int width = 0;
    int height = 0;
    std::vector<bool> dark;
    bool at(int x, int y) const { return dark[static_cast<size_t>(y) * width + x]; }
};

Ink inkOf(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    GetClientRect(window, &client);
    Ink ink;
    ink.width = client.right;
    ink.height = client.bottom;
    HDC dc = GetDC(window);
    HDC memory = CreateCompatibleDC(dc);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = ink.width;
    info.bmiHeader.biHeight = -ink.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, ink.width, ink.height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    for (int i = 0; i < ink.width * ink.height; ++i) {
        const DWORD p = pixels[i];
        ink.dark.push_back(((p & 0xFF) + ((p >> 8) & 0xFF) + ((p >> 16) & 0xFF)) < 3 * 100);
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
    return ink;
}

// The dark pixels inside a rectangle, cut to their bounding box, as rows of
// '#' and '.'; empty when there are none.
std::vector<std::string> glyphs(const Ink& ink, RECT area)
{
    int left = area.right, right = area.left - 1, top = area.bottom, bottom = area.top - 1;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (ink.at(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    std::vector<std::string> rows;
    for (int y = top; y <= bottom; ++y) {
        std::string row;
        for (int x = left; x <= right; ++x)
            row += ink.at(x, y) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// The horizontal bands of a rectangle that hold dark pixels: one per line of
// text, top to bottom (an accent a row or two above its letter joins it).
std::vector<RECT> textLines(const Ink& ink, RECT area)
{
    std::vector<RECT> lines;
    bool inLine = false;
    for (int y = area.top; y <= area.bottom; ++y) {
        bool dark = false;
        for (int x = area.left; y < area.bottom && x < area.right && !dark; ++x)
            dark = ink.at(x, y);
        if (dark && !inLine && !lines.empty() && y - lines.back().bottom <= 2)
            inLine = true;
        else if (dark && !inLine)
            lines.push_back({area.left, y, area.right, y});
        if (!dark && inLine)
            lines.back().bottom = y;
        inLine = dark;
    }
    return lines;
}

size_t widthOf(const std::vector<std::string>& glyph)
{
    return glyph.empty() ? 0 : glyph[0].size();
}

// Pairs of letters that a font without their script would draw as the same
// box: Cyrillic, Greek, Central European and Turkish, Baltic. Then "аб" and
// "а б".
const char* const scriptLines[] = {
    "\xD0\xB6", "\xD0\xB8", "\xCE\xBB", "\xCE\xBE", "\xC5\x91", "\xC4\x9F", "\xC4\x97", "\xC5\xB3",
    "\xD0\xB0\xD0\xB1", "\xD0\xB0 \xD0\xB1",
};
const size_t scriptLineCount = sizeof scriptLines / sizeof scriptLines[0];

void expectLettersAndBlanks(const std::vector<std::vector<std::string>>& line, const char* where)
{
    ASSERT_EQ(line.size(), scriptLineCount) << where;
    for (size_t k = 0; k + 2 < scriptLineCount; k += 2) {
        EXPECT_FALSE(line[k].empty()) << where << ": " << scriptLines[k];
        EXPECT_NE(line[k], line[k + 1]) << where << ": " << scriptLines[k] << " and " << scriptLines[k + 1]
                                        << " are drawn alike (a box for a missing glyph)";
    }
    EXPECT_GE(widthOf(line[scriptLineCount - 1]), widthOf(line[scriptLineCount - 2]) + 2)
        << where << ": the blank between two words takes no room";
}

} // namespace

TEST_F(BrowserTest, CyrillicAndGreekAreDrawnAsLettersInTheListAndThePane)
{
    // Frame 1 has the lines as variants; frames 2 on are the lines.
    std::string file = "\xEF\xBB\xBFx\t1\t" + std::to_string(scriptLineCount);
    for (const char* line : scriptLines)
        file += std::string("\r\n") + line;
    for (const char* line : scriptLines)
        file += std::string("\r\n\r\n") + line + "\t1\t0";
    openBrowser(writeFile("scripts-Freq-phraseFrames.txt", file + "\r\n"));
    ASSERT_EQ(frameCount, static_cast<int32_t>(scriptLineCount + 1));

    const Ink list = inkOf(frameList);
    std::vector<std::vector<std::string>> cells;
    for (int row = 2; row <= frameCount; ++row) {
        RECT cell = {LVIR_LABEL, 1, 0, 0}; // top = the column, left = the part
        SendMessageA(frameList, LVM_GETSUBITEMRECT, row - 1, reinterpret_cast<LPARAM>(&cell));
        InflateRect(&cell, -2, -2);
        cells.push_back(glyphs(list, cell));
    }
    expectLettersAndBlanks(cells, "list");

    const Ink pane = inkOf(variantPane);
    std::vector<std::vector<std::string>> lines;
    for (const RECT& line : textLines(pane, {0, 0, pane.width, pane.height}))
        lines.push_back(glyphs(pane, line));
    expectLettersAndBlanks(lines, "pane");
}
