#include "logo/logo_mask.h"

#include <algorithm>
#include <stdexcept>

namespace vesk::assetgen {

namespace {

// Art cells: "#" full, "." empty, and the digits 7, 9, 1, 3 a half cell cut
// along its diagonal, keeping the triangle in that corner (as on a keypad).
bool CellCovers(char art, int u, int v, int size) {
    int last = size - 1;
    switch (art) {
        case '#':
            return true;
        case '7':
            return u + v <= last;
        case '9':
            return v <= u;
        case '1':
            return u <= v;
        case '3':
            return u + v >= last;
        default:
            return false;
    }
}

int LetterColumns(const std::vector<std::string>& art) {
    std::size_t columns = 0;
    for (const std::string& row : art) columns = std::max(columns, row.size());
    return int(columns);
}

int WordRows(const LogoSource& s) {
    int rows = 0;
    for (char ch : s.word) rows = std::max(rows, int(s.letters.at(ch).size()));
    return rows;
}

int WordColumns(const LogoSource& s) {
    int columns = 0;
    for (char ch : s.word) columns += LetterColumns(s.letters.at(ch)) + s.gap;
    return columns - s.gap;
}

// The upright word, one byte per pixel.
Mask UprightWord(const LogoSource& s) {
    Mask mask(WordColumns(s) * s.cell, WordRows(s) * s.cell);
    int column0 = 0;
    for (char ch : s.word) {
        const std::vector<std::string>& art = s.letters.at(ch);
        for (int y = 0; y < mask.height; ++y) {
            const std::size_t row = std::size_t(y / s.cell);
            if (row >= art.size()) continue;
            for (int c = 0; c < int(art[row].size()); ++c)
                for (int u = 0; u < s.cell; ++u)
                    if (CellCovers(art[row][c], u, y % s.cell, s.cell))
                        mask.on[std::size_t(y) * mask.width + (column0 + c) * s.cell + u] = 1;
        }
        column0 += LetterColumns(art) + s.gap;
    }
    return mask;
}

}  // namespace

Mask RasteriseWord(const LogoSource& s) {
    Mask upright = UprightWord(s);
    const int slant = (upright.height - 1) / s.shearRows;
    const int usedWidth = upright.width + slant + 2 * s.outline + s.shadowX;
    const int usedHeight = upright.height + 2 * s.outline + s.shadowY;
    if (usedWidth > s.width || usedHeight > s.height)
        throw std::runtime_error("the word does not fit on the canvas");
    const int left = (s.width - usedWidth) / 2 + s.outline;
    const int top = (s.height - usedHeight) / 2 + s.outline;
    Mask canvas(s.width, s.height);
    for (int y = 0; y < upright.height; ++y) {
        const int shift = (upright.height - 1 - y) / s.shearRows;
        for (int x = 0; x < upright.width; ++x) {
            if (!upright.on[std::size_t(y) * upright.width + x]) continue;
            std::size_t at = std::size_t(top + y) * s.width + left + shift + x;
            canvas.on[at] = 1;
            canvas.letterRow[at] = y;
        }
    }
    return canvas;
}

std::vector<int> ChamferDistance(const Mask& mask, bool want) {
    const int w = mask.width, h = mask.height;
    const int far = 1 << 20;
    std::vector<int> d(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) d[std::size_t(y) * w + x] = mask.At(x, y) == want ? far : 0;
    auto relax = [&](int x, int y, int dx, int dy, int cost) {
        int nx = x + dx, ny = y + dy;
        int neighbour = (nx < 0 || ny < 0 || nx >= w || ny >= h) ? (want ? 0 : far)
                                                                 : d[std::size_t(ny) * w + nx];
        int& here = d[std::size_t(y) * w + x];
        here = std::min(here, neighbour + cost);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            relax(x, y, -1, 0, 3), relax(x, y, 0, -1, 3), relax(x, y, -1, -1, 4),
                relax(x, y, 1, -1, 4);
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            relax(x, y, 1, 0, 3), relax(x, y, 0, 1, 3), relax(x, y, 1, 1, 4), relax(x, y, -1, 1, 4);
        }
    return d;
}

}  // namespace vesk::assetgen
