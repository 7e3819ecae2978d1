// makeicon: draws a program icon and writes it as an .ico file.
//
//   makeicon browser browser/program.ico
//   makeicon stopwords stopwords/program.ico
//   makeicon makeframes makeframes/window/program.ico
//
// The browser's icon is a page of text lines in which one line has an open,
// highlighted slot, the way a phrase frame has one. The filter's is a page
// whose lines are struck out in red under a red minus badge: lines taken
// out of a file. The maker's is the browser's page with a green plus badge:
// frames made. Each file holds one icon group with two images: 16 x 16
// with a 256-colour palette and 32 x 32 in 32-bit BGRA, each with its AND
// mask. The output is the same byte for byte on every run.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Colour {
    uint8_t r, g, b, a;
};

bool operator==(const Colour& x, const Colour& y)
{
    return x.r == y.r && x.g == y.g && x.b == y.b && x.a == y.a;
}

const Colour clear{0, 0, 0, 0};
const Colour shadow{0, 0, 0, 64};
const Colour outline{0x33, 0x41, 0x55, 255};
const Colour paper{0xFF, 0xFF, 0xFF, 255};
const Colour fold{0xCB, 0xD5, 0xE1, 255};
const Colour text{0x64, 0x74, 0x8B, 255};
const Colour slotEdge{0xEA, 0x58, 0x0C, 255};
const Colour slotFill{0xFD, 0xE6, 0x8A, 255};
const Colour struckText{0xCB, 0xD5, 0xE1, 255};
const Colour strike{0xDC, 0x26, 0x26, 255};
const Colour badge{0xB9, 0x1C, 0x1C, 255};
const Colour makeBadge{0x15, 0x80, 0x3D, 255};

// A square picture, rows from the top, pixels from the left.
struct Canvas {
    int size;
    std::vector<Colour> pixels;
};

Canvas blankCanvas(int size)
{
    return Canvas{size, std::vector<Colour>(static_cast<size_t>(size * size), clear)};
}

void fillRect(Canvas& canvas, int left, int top, int right, int bottom, Colour colour)
{
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            if (x >= 0 && y >= 0 && x < canvas.size && y < canvas.size)
                canvas.pixels[static_cast<size_t>(y * canvas.size + x)] = colour;
}

void setPixel(Canvas& canvas, int x, int y, Colour colour)
{
    fillRect(canvas, x, y, x, y, colour);
}

// A page with its top right corner folded down: outline, paper, the fold
// as a triangle of `corner` pixels.
void drawPage(Canvas& canvas, int left, int top, int right, int bottom, int corner)
{
    fillRect(canvas, left, top, right, bottom, outline);
    fillRect(canvas, left + 1, top + 1, right - 1, bottom - 1, paper);
    for (int i = 0; i < corner; ++i) {
        // Row i of the corner: cut away right of the diagonal, fold left of it.
        const int y = top + i;
        const int diagonal = right - corner + i;
        fillRect(canvas, diagonal + 1, y, right, y, clear);
        setPixel(canvas, diagonal, y, outline);
        fillRect(canvas, right - corner, y, diagonal - 1, y, fold);
    }
    fillRect(canvas, right - corner, top, right - corner, top + corner, outline);
    fillRect(canvas, right - corner, top + corner, right, top + corner, outline);
}

Canvas drawLarge()
{
    Canvas canvas = blankCanvas(32);
    drawPage(canvas, 4, 1, 26, 30, 7);
    // A faint shadow along the right and bottom edges of the page.
    fillRect(canvas, 27, 9, 27, 31, shadow);
    fillRect(canvas, 6, 31, 27, 31, shadow);
    fillRect(canvas, 8, 6, 17, 7, text);
    fillRect(canvas, 8, 11, 22, 12, text);
    // The slot line: a word, the open slot, a word.
    fillRect(canvas, 8, 16, 10, 17, text);
    fillRect(canvas, 12, 14, 19, 19, slotEdge);
    fillRect(canvas, 13, 15, 18, 18, slotFill);
    fillRect(canvas, 21, 16, 22, 17, text);
    fillRect(canvas, 8, 21, 22, 22, text);
    fillRect(canvas, 8, 25, 18, 26, text);
    return canvas;
}

Canvas drawSmall()
{
    Canvas canvas = blankCanvas(16);
    drawPage(canvas, 2, 0, 13, 15, 4);
    fillRect(canvas, 4, 3, 8, 3, text);
    fillRect(canvas, 4, 5, 11, 5, text);
    fillRect(canvas, 4, 8, 4, 8, text);
    fillRect(canvas, 6, 7, 9, 9, slotEdge);
    fillRect(canvas, 7, 8, 8, 8, slotFill);
    fillRect(canvas, 11, 8, 11, 8, text);
    fillRect(canvas, 4, 11, 11, 11, text);
    fillRect(canvas, 4, 13, 9, 13, text);
    return canvas;
}

// The filter's icon: text lines, some struck out, and a round red badge with
// a white minus at the bottom right.
Canvas drawFilterLarge()
{
    Canvas canvas = blankCanvas(32);
    drawPage(canvas, 2, 1, 24, 30, 7);
    fillRect(canvas, 25, 9, 25, 31, shadow);
    fillRect(canvas, 4, 31, 25, 31, shadow);
    fillRect(canvas, 6, 6, 15, 7, text);
    fillRect(canvas, 6, 10, 20, 12, struckText);
    fillRect(canvas, 5, 11, 21, 11, strike);
    fillRect(canvas, 6, 15, 19, 16, text);
    fillRect(canvas, 6, 18, 20, 20, struckText);
    fillRect(canvas, 5, 19, 21, 19, strike);
    fillRect(canvas, 6, 24, 13, 25, text);
    // The badge: a disc of radius 6.5 around (24.5, 24.5).
    for (int y = 18; y <= 31; ++y)
        for (int x = 18; x <= 31; ++x) {
            const int dx = 2 * x + 1 - 49;
            const int dy = 2 * y + 1 - 49;
            if (dx * dx + dy * dy <= 13 * 13)
                setPixel(canvas, x, y, badge);
        }
    fillRect(canvas, 21, 23, 28, 25, paper);
    return canvas;
}

Canvas drawFilterSmall()
{
    Canvas canvas = blankCanvas(16);
    drawPage(canvas, 1, 0, 12, 15, 4);
    fillRect(canvas, 3, 3, 7, 3, text);
    fillRect(canvas, 3, 5, 10, 5, strike);
    fillRect(canvas, 3, 7, 9, 7, text);
    fillRect(canvas, 3, 9, 10, 9, strike);
    fillRect(canvas, 3, 12, 6, 12, text);
    fillRect(canvas, 9, 10, 14, 15, badge);
    fillRect(canvas, 10, 9, 13, 9, badge);
    fillRect(canvas, 15, 11, 15, 14, badge);
    fillRect(canvas, 8, 11, 8, 14, badge);
    fillRect(canvas, 10, 12, 13, 13, paper);
    return canvas;
}

// The maker's icon: the browser's slot page, smaller, with a round green
// badge holding a white plus at the bottom right.
Canvas drawMakerLarge()
{
    Canvas canvas = blankCanvas(32);
    drawPage(canvas, 2, 1, 24, 30, 7);
    fillRect(canvas, 25, 9, 25, 31, shadow);
    fillRect(canvas, 4, 31, 25, 31, shadow);
    fillRect(canvas, 6, 6, 15, 7, text);
    fillRect(canvas, 6, 11, 20, 12, text);
    fillRect(canvas, 6, 16, 7, 17, text);
    fillRect(canvas, 9, 14, 15, 19, slotEdge);
    fillRect(canvas, 10, 15, 14, 18, slotFill);
    fillRect(canvas, 17, 16, 18, 17, text);
    fillRect(canvas, 6, 22, 14, 23, text);
    for (int y = 18; y <= 31; ++y)
        for (int x = 18; x <= 31; ++x) {
            const int dx = 2 * x + 1 - 49;
            const int dy = 2 * y + 1 - 49;
            if (dx * dx + dy * dy <= 13 * 13)
                setPixel(canvas, x, y, makeBadge);
        }
    fillRect(canvas, 21, 24, 28, 25, paper);
    fillRect(canvas, 24, 21, 25, 28, paper);
    return canvas;
}

Canvas drawMakerSmall()
{
    Canvas canvas = blankCanvas(16);
    drawPage(canvas, 1, 0, 12, 15, 4);
    fillRect(canvas, 3, 3, 7, 3, text);
    fillRect(canvas, 3, 6, 3, 6, text);
    fillRect(canvas, 5, 5, 8, 7, slotEdge);
    fillRect(canvas, 6, 6, 7, 6, slotFill);
    fillRect(canvas, 3, 9, 8, 9, text);
    fillRect(canvas, 9, 10, 14, 15, makeBadge);
    fillRect(canvas, 10, 9, 13, 9, makeBadge);
    fillRect(canvas, 15, 11, 15, 14, makeBadge);
    fillRect(canvas, 8, 11, 8, 14, makeBadge);
    fillRect(canvas, 10, 12, 13, 13, paper);
    fillRect(canvas, 11, 11, 12, 14, paper);
    return canvas;
}

void putWord(std::string& out, uint32_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void putDword(std::string& out, uint32_t value)
{
    putWord(out, value & 0xFFFF);
    putWord(out, value >> 16);
}

void putBitmapHeader(std::string& out, int size, int bitCount, uint32_t imageBytes)
{
    putDword(out, 40);
    putDword(out, static_cast<uint32_t>(size));
    putDword(out, static_cast<uint32_t>(size * 2)); // colour rows plus mask rows
    putWord(out, 1);
    putWord(out, static_cast<uint32_t>(bitCount));
    putDword(out, 0); // no compression
    putDword(out, imageBytes);
    putDword(out, 0);
    putDword(out, 0);
    putDword(out, 0);
    putDword(out, 0);
}

// The AND mask: one bit per pixel, set where the pixel is fully transparent;
// bottom row first, rows padded to 32 bits.
void putMask(std::string& out, const Canvas& canvas)
{
    const int rowBytes = (canvas.size + 31) / 32 * 4;
    for (int y = canvas.size - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(rowBytes), '\0');
        for (int x = 0; x < canvas.size; ++x)
            if (canvas.pixels[static_cast<size_t>(y * canvas.size + x)].a == 0)
                row[static_cast<size_t>(x / 8)] = static_cast<char>(row[static_cast<size_t>(x / 8)] | (0x80 >> (x % 8)));
        out += row;
    }
}

int maskBytes(int size)
{
    return (size + 31) / 32 * 4 * size;
}

// 256-colour image: palette entry 0 is black for the transparent pixels,
// the picture's own colours follow in the order they first appear.
std::string paletteImage(const Canvas& canvas)
{
    std::vector<Colour> palette{clear};
    std::vector<uint8_t> indexes;
    for (const Colour& pixel : canvas.pixels) {
        size_t i = 0;
        while (i < palette.size() && !(palette[i] == pixel))
            ++i;
        if (i == palette.size())
            palette.push_back(pixel);
        indexes.push_back(static_cast<uint8_t>(i));
    }
    const int rowBytes = (canvas.size + 3) / 4 * 4;
    std::string out;
    putBitmapHeader(out, canvas.size, 8, static_cast<uint32_t>(rowBytes * canvas.size + maskBytes(canvas.size)));
    for (int i = 0; i < 256; ++i) {
        const Colour c = i < static_cast<int>(palette.size()) ? palette[static_cast<size_t>(i)] : clear;
        out += static_cast<char>(c.b);
        out += static_cast<char>(c.g);
        out += static_cast<char>(c.r);
        out += '\0';
    }
    for (int y = canvas.size - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(rowBytes), '\0');
        for (int x = 0; x < canvas.size; ++x)
            row[static_cast<size_t>(x)] = static_cast<char>(indexes[static_cast<size_t>(y * canvas.size + x)]);
        out += row;
    }
    putMask(out, canvas);
    return out;
}

std::string trueColourImage(const Canvas& canvas)
{
    std::string out;
    putBitmapHeader(out, canvas.size, 32, static_cast<uint32_t>(canvas.size * canvas.size * 4 + maskBytes(canvas.size)));
    for (int y = canvas.size - 1; y >= 0; --y)
        for (int x = 0; x < canvas.size; ++x) {
            const Colour c = canvas.pixels[static_cast<size_t>(y * canvas.size + x)];
            out += static_cast<char>(c.b);
            out += static_cast<char>(c.g);
            out += static_cast<char>(c.r);
            out += static_cast<char>(c.a);
        }
    putMask(out, canvas);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string which = argc == 3 ? argv[1] : "";
    if (which != "browser" && which != "stopwords" && which != "makeframes") {
        std::fprintf(stderr, "usage: makeicon browser|stopwords|makeframes output.ico\n");
        return 2;
    }
    const bool browser = which == "browser";
    const bool maker = which == "makeframes";
    struct Image {
        int size;
        int bitCount;
        std::string bytes;
    };
    const Image images[] = {
        {16, 8, paletteImage(browser ? drawSmall() : maker ? drawMakerSmall() : drawFilterSmall())},
        {32, 32, trueColourImage(browser ? drawLarge() : maker ? drawMakerLarge() : drawFilterLarge())},
    };
    const int count = 2;

    std::string out;
    putWord(out, 0); // reserved
    putWord(out, 1); // icon
    putWord(out, count);
    uint32_t offset = 6 + 16 * count;
    for (const Image& image : images) {
        out += static_cast<char>(image.size);
        out += static_cast<char>(image.size);
        out += '\0'; // colour count: 0 for 256 colours and more
        out += '\0';
        putWord(out, 1);
        putWord(out, static_cast<uint32_t>(image.bitCount));
        putDword(out, static_cast<uint32_t>(image.bytes.size()));
        putDword(out, offset);
        offset += static_cast<uint32_t>(image.bytes.size());
    }
    for (const Image& image : images)
        out += image.bytes;

    std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    file.close();
    if (file.fail()) {
        std::fprintf(stderr, "makeicon: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%s: %zu bytes\n", argv[2], out.size());
    return 0;
}
