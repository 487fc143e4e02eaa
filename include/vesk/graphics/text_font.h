// Text drawing with bitmap fonts. The engine carries one font of its own, an
// 8 x 16 monochrome design of the characters 32 to 127 stored in the
// executable as "veskfont.bin"; every opening of graphics expands it into
// one small image per character. Text is drawn glyph by glyph as image
// quads, so it follows the drawing state like any image: white ink takes the
// current colour and alpha.
#pragma once

#include <vesk/graphics/image.h>
#include <vesk/runtime/text.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace vesk {

class TImageGlyph {
public:
    TImageRef image;     // null for a glyph that draws nothing
    float advance = 0;   // pen movement after the glyph, unscaled pixels
    int32_t x = 0, y = 0;  // the image's offset from the pen
    int32_t w = 0, h = 0;  // the glyph's box

    TImageRef Image() const { return image; }
    float Advance() const { return advance; }
    void GetRect(int& outX, int& outY, int& outW, int& outH) const;
};

class TBitmapFont;
using TBitmapFontRef = std::shared_ptr<TBitmapFont>;

class TBitmapFont {
public:
    int32_t style = 0;
    int32_t height = 0;
    int32_t firstChar = 0;  // character code of glyph 0
    std::vector<std::shared_ptr<TImageGlyph>> glyphs;

    int Style() const { return style; }
    int Height() const { return height; }
    int FirstChar() const { return firstChar; }
    int CountGlyphs() const { return static_cast<int>(glyphs.size()); }
    // index in 0 ... CountGlyphs() - 1.
    const std::shared_ptr<TImageGlyph>& Glyph(int index) const { return glyphs[index]; }
    // Draws text with its pen starting at (x, y), under the matrix
    // (ix, iy, jx, jy). Characters the font lacks are skipped, pen and all.
    void Draw(const Text& text, float x, float y, float ix, float iy, float jx, float jy) const;
    // The glyph for a character code, or null when the font lacks it.
    const TImageGlyph* GlyphFor(char16_t code) const;

    // The built-in font, made from the "veskfont.bin" resource. Graphics
    // must be open: the glyphs become textures.
    static TBitmapFontRef CreateBuiltin();
};

// With the current font, placed by the drawing state's origin and anchor.
void DrawString(const Text& text, float x, float y);
// Unscaled pixels; characters the font lacks count nothing.
int StringWidth(const Text& text);
int StringHeight(const Text& text);
// The same with UTF-8 text ("Score: 10").
void DrawString(std::string_view utf8, float x, float y);
int StringWidth(std::string_view utf8);
int StringHeight(std::string_view utf8);
// Null selects the default font.
void SetTextFont(const TBitmapFontRef& font);
TBitmapFontRef GetTextFont();

// Makes font both the default and the current font (null for neither);
// graphics does this when it opens and closes.
void InstallDefaultTextFont(const TBitmapFontRef& font);

// The text-font module's once-only initialiser: registers "veskfont.bin".
void InitTextFontModule();

}  // namespace vesk
