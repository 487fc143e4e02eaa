// The built-in font: its bitmap's rules, and text as a person sees it.
#include "gl_screen.h"

#include <vesk/graphics/text_font.h>
#include <vesk/stream/resources.h>

#include <cmath>

namespace vesk::test {
namespace {

using TextFont = GLScreenTest;

const uint8_t* FontBits() {
    InitTextFontModule();
    return static_cast<const uint8_t*>(ResourceData(u"veskfont.bin"));
}

bool Ink(char16_t code, int row, int column) { return (FontBits()[row * 96 + (code - 32)] >> column) & 1; }

TEST(TextFontBitmap, KeepsItsLayoutAndTheRulesOfEveryGlyph) {
    InitTextFontModule();
    ASSERT_EQ(ResourceSize(u"veskfont.bin"), 1536u);
    for (int row = 0; row < 16; ++row) EXPECT_EQ(FontBits()[row * 96 + 1], (row >= 2 && row <= 10 && row != 8) ? 0x18 : 0) << row;
    for (char16_t code = 32; code < 128; ++code) {
        for (int row = 0; row < 16; ++row) {
            const uint8_t bits = FontBits()[row * 96 + (code - 32)];
            EXPECT_EQ(bits & 1, 0) << "column 0 of " << int(code);
            if (row == 0 || row >= 13 || code == u' ') {
                EXPECT_EQ(bits, 0) << int(code) << " row " << row;
            }
            const bool capitalOrDigit = (code >= u'A' && code <= u'Z') || (code >= u'0' && code <= u'9');
            if (capitalOrDigit && (row < 2 || row > 10)) {
                EXPECT_EQ(bits, 0) << int(code) << " row " << row;
            }
        }
    }
}

// Every pixel of the rectangle is ink exactly where the font says, with
// glyph k of text at (x0 + k * 8 * scale, y0) at the given scale.
void ExpectText(const std::u16string& text, int x0, int y0, int scale) {
    const int w = static_cast<int>(text.size()) * 8 * scale;
    const int h = 16 * scale;
    TPixmapRef grab = GrabScreenPixmap(x0 - 2, y0 - 2, w + 4, h + 4);
    for (int y = 0; y < h + 4; ++y) {
        for (int x = 0; x < w + 4; ++x) {
            const int px = x - 2, py = y - 2;
            const bool inside = px >= 0 && py >= 0 && px < w && py < h;
            const bool ink = inside && Ink(text[px / (8 * scale)], py / scale, (px / scale) % 8);
            ASSERT_EQ(grab->GetPixel(x, y) & 0xFFFFFF, ink ? kWhite : kBlack) << "at " << x0 + px << "," << y0 + py;
        }
    }
}

TEST_F(TextFont, CountdownDigitsAreFortyByEightyQuadsSideBySide) {
    SetDrawScale(5, 5);
    DrawString(u"132000", 224, 350);
    ExpectText(u"132000", 224, 350, 5);
}

TEST_F(TextFont, SkippedCharactersLeaveNoGapAndTheEmptyTextDrawsNothing) {
    DrawString(u"", 10, 10);
    DrawString(u"A\u00e9\nB", 10, 10);
    ExpectText(u"AB", 10, 10, 1);
    EXPECT_EQ(StringWidth(u"AB"), 16);
    EXPECT_EQ(StringWidth(u"\u00e9"), 0);
    EXPECT_EQ(StringWidth(u"A\u00e9\nB"), 16);
    EXPECT_EQ(StringHeight(u""), 0);
    EXPECT_EQ(StringHeight(u"\n"), 0);
    EXPECT_EQ(StringHeight(u"a\n"), 16);
}

TEST_F(TextFont, RotatedTextRunsDownTheScreen) {
    SetDrawRotation(90);
    DrawString(u"AB", 300, 100);
    // Local (u, v) of the text lands at (300 - v, 100 + u).
    TPixmapRef grab = GrabScreenPixmap(280, 95, 25, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 25; ++x) {
            const float u = 95 + y + 0.5f - 100;
            const float v = 300 - (280 + x + 0.5f);
            const bool inside = u >= 0 && u < 16 && v >= 0 && v < 16;
            const int glyph = static_cast<int>(std::floor(u)) / 8;
            const bool ink = inside && Ink(u"AB"[glyph], static_cast<int>(v), static_cast<int>(u) % 8);
            ASSERT_EQ(grab->GetPixel(x, y) & 0xFFFFFF, ink ? kWhite : kBlack) << x << "," << y;
        }
    }
}

TEST_F(TextFont, TextTakesTheColourAndIsPlacedByOriginAndAnchor) {
    SetDrawColor(255, 0, 0);
    SetDrawOrigin(5, 6);
    SetDrawAnchor(4, 8);  // the text's own point (4, 8) goes to the position
    DrawString(u"!", 100, 100);
    EXPECT_EQ(PixelAt(101 + 3, 98 + 2), 0xFF0000u);
    EXPECT_EQ(PixelAt(101 + 4, 98 + 10), 0xFF0000u);
    EXPECT_EQ(PixelAt(101 + 3, 98 + 8), kBlack);
    EXPECT_EQ(CountColour(90, 90, 30, 30, 0xFF0000u), 16);
}

TEST_F(TextFont, EachOpeningBuildsTheDefaultFontAfresh) {
    const TBitmapFontRef first = GetTextFont();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->CountGlyphs(), 96);
    EXPECT_EQ(first->FirstChar(), 32);
    EXPECT_EQ(first->Height(), 16);
    auto other = std::make_shared<TBitmapFont>();
    SetTextFont(other);
    EXPECT_EQ(GetTextFont(), other);
    EXPECT_EQ(StringWidth(u"AB"), 0);  // a font without glyphs
    SetTextFont(nullptr);
    EXPECT_EQ(GetTextFont(), first);
    CloseGraphics();
    EXPECT_FALSE(GetTextFont());
    OpenGraphics(768, 576, 0, 0);
    ASSERT_TRUE(GetTextFont());
    EXPECT_NE(GetTextFont(), first);
    DrawString(u"132000", 224, 350);
    ExpectText(u"132000", 224, 350, 1);
}

}  // namespace
}  // namespace vesk::test
