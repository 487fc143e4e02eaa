// The font sheet: 16 x 13 cells, 20 a row, in the order of the intro's
// character map. Visible characters hold ink; space, the lower-case control
// letters and every cell beyond the map are entirely magenta.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "asset_bytes.h"

namespace vesk::assettest {
namespace {

constexpr Rgb kMagenta{255, 0, 255};
const std::string kCharMap =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:'\"?!_- abcdefghijklmnopqrstuvwxyz";

bool Visible(char c) { return c != ' ' && !(c >= 'a' && c <= 'z'); }

// The cell's pixels as a string, "#" for ink and "." for magenta.
std::string CellInk(const TgaPixels& sheet, int k) {
    const int x0 = 16 * k % 320, y0 = 16 * k / 320 * 13;
    std::string ink;
    for (int y = y0; y < y0 + 13 && y < sheet.Height(); ++y)
        for (int x = x0; x < x0 + 16; ++x) ink += sheet.At(x, y) == kMagenta ? '.' : '#';
    return ink;
}

class FontSheet : public ::testing::Test {
protected:
    Bytes file = ReadFileBytes(VESK_ASSET_FONT_SHEET);
    TgaPixels sheet{file};
};

TEST_F(FontSheet, HoldsInkExactlyInTheCellsOfVisibleCharacters) {
    ASSERT_EQ(kCharMap.size(), 71u);
    const int cells = (320 / 16) * (200 / 13);
    for (int k = 0; k < cells; ++k) {
        std::string ink = CellInk(sheet, k);
        bool visible = k < int(kCharMap.size()) && Visible(kCharMap[std::size_t(k)]);
        int count = int(std::count(ink.begin(), ink.end(), '#'));
        if (visible) {
            EXPECT_GE(count, 8) << "cell " << k << " '" << kCharMap[std::size_t(k)] << "'";
        } else {
            EXPECT_EQ(count, 0) << "cell " << k;
        }
    }
    // The strip below the last whole row of cells is transparent too.
    for (int y = 195; y < 200; ++y)
        for (int x = 0; x < 320; ++x) EXPECT_EQ(sheet.At(x, y), kMagenta) << x << "," << y;
}

// Glyphs are drawn at three times their size side by side: ink that touched
// a cell's left or right edge would join the neighbouring glyph.
TEST_F(FontSheet, GlyphsKeepClearOfTheirCellsSides) {
    for (int k = 0; k < int(kCharMap.size()); ++k) {
        std::string ink = CellInk(sheet, k);
        for (int y = 0; y < 13; ++y) {
            EXPECT_EQ(ink[std::size_t(y * 16)], '.') << kCharMap[std::size_t(k)];
            EXPECT_EQ(ink[std::size_t(y * 16 + 15)], '.') << kCharMap[std::size_t(k)];
        }
    }
}

TEST_F(FontSheet, EveryVisibleGlyphIsDistinctAndColoured) {
    for (int a = 0; a < int(kCharMap.size()); ++a) {
        if (!Visible(kCharMap[std::size_t(a)])) continue;
        for (int b = a + 1; b < int(kCharMap.size()); ++b) {
            if (!Visible(kCharMap[std::size_t(b)])) continue;
            EXPECT_NE(CellInk(sheet, a), CellInk(sheet, b))
                << kCharMap[std::size_t(a)] << " and " << kCharMap[std::size_t(b)];
        }
    }
    // A vertical gradient: the top and bottom of the "H" differ in colour.
    const int h = int(kCharMap.find('H'));
    const int x = 16 * h % 320 + 3, y = 16 * h / 320 * 13;
    EXPECT_NE(sheet.At(x, y + 2), sheet.At(x, y + 10));
}

}  // namespace
}  // namespace vesk::assettest
