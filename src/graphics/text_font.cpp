#include <vesk/graphics/text_font.h>

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>
#include <vesk/stream/opening.h>

#include "embedded/veskfont_bin.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vesk {
namespace {

constexpr char16_t kFontResource[] = u"veskfont.bin";
constexpr int kBuiltinGlyphs = 96;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr TArgb kInk = 0xFFFFFFFFu;
constexpr TArgb kBackground = 0;

TBitmapFontRef defaultFont;
TBitmapFontRef currentFont;

// All 96 cells side by side, glyph g in columns 8g to 8g + 7. Bit k of a
// byte is column k: the least significant bit is the leftmost pixel.
TPixmapRef ExpandSheet(const uint8_t* bits) {
    TPixmapRef sheet = TPixmap::Create(kCellWidth * kBuiltinGlyphs, kCellHeight, FormatRGBA8888, 4);
    for (int r = 0; r < kCellHeight; ++r) {
        for (int g = 0; g < kBuiltinGlyphs; ++g) {
            const uint8_t b = bits[r * kBuiltinGlyphs + g];
            for (int k = 0; k < kCellWidth; ++k) sheet->SetPixel(kCellWidth * g + k, r, (b >> k) & 1 ? kInk : kBackground);
        }
    }
    return sheet;
}

std::shared_ptr<TImageGlyph> MakeBuiltinGlyph(const TPixmapRef& sheet, int g) {
    // A copy of the cell, so that the glyph's pixmap stays valid without
    // the sheet.
    TPixmapRef cell = sheet->SubPixmap(kCellWidth * g, 0, kCellWidth, kCellHeight)->Clone();
    auto image = std::make_shared<TImage>(kCellWidth, kCellHeight, 1, 0);
    // Flags 0: nearest-neighbour sampling keeps enlarged text crisp.
    image->frames[0] = RenderDriver().MakeFrameFromPixmap(cell, 0);
    image->pixmaps[0] = cell;
    auto glyph = std::make_shared<TImageGlyph>();
    glyph->image = image;
    glyph->advance = 8.0f;
    glyph->w = kCellWidth;
    glyph->h = kCellHeight;
    return glyph;
}

}  // namespace

void TImageGlyph::GetRect(int& outX, int& outY, int& outW, int& outH) const {
    outX = x;
    outY = y;
    outW = w;
    outH = h;
}

const TImageGlyph* TBitmapFont::GlyphFor(char16_t code) const {
    const int n = static_cast<int>(code) - firstChar;
    if (n < 0 || n >= CountGlyphs()) return nullptr;
    return glyphs[n].get();
}

void TBitmapFont::Draw(const Text& text, float x, float y, float ix, float iy, float jx, float jy) const {
    for (char16_t code : text) {
        const TImageGlyph* glyph = GlyphFor(code);
        if (!glyph) continue;
        // The glyph offset lands on whole pixels; the pen itself does not.
        const float tx = std::trunc(glyph->x * ix + glyph->y * iy);
        const float ty = std::trunc(glyph->x * jx + glyph->y * jy);
        if (glyph->image && !glyph->image->frames.empty() && glyph->image->frames[0]) {
            const TImage& image = *glyph->image;
            image.frames[0]->Draw(0, 0, static_cast<float>(image.width), static_cast<float>(image.height), x + tx, y + ty);
        }
        x += glyph->advance * ix;
        y += glyph->advance * jx;
    }
}

TBitmapFontRef TBitmapFont::CreateBuiltin() {
    InitTextFontModule();
    auto font = std::make_shared<TBitmapFont>();
    font->style = 0;
    font->height = kCellHeight;
    font->firstChar = 32;
    font->glyphs.resize(kBuiltinGlyphs);
    // A resource of another size under the same name would be read past
    // its end; such a font draws blank glyphs instead.
    std::vector<uint8_t> bits(kCellHeight * kBuiltinGlyphs, 0);
    if (ResourceSize(kFontResource) >= bits.size()) {
        const auto* data = static_cast<const uint8_t*>(ResourceData(kFontResource));
        std::copy(data, data + bits.size(), bits.begin());
    }
    TPixmapRef sheet = ExpandSheet(bits.data());
    RenderDriver().ReserveFrames(kCellWidth, kCellHeight, 0, kBuiltinGlyphs);
    for (int g = 0; g < kBuiltinGlyphs; ++g) font->glyphs[g] = MakeBuiltinGlyph(sheet, g);
    return font;
}

void DrawString(const Text& text, float x, float y) {
    if (!currentFont) return;
    const TDrawState& s = DrawState();
    currentFont->Draw(text, x + s.originX + s.anchorX * s.ix + s.anchorY * s.iy,
                      y + s.originY + s.anchorX * s.jx + s.anchorY * s.jy, s.ix, s.iy, s.jx, s.jy);
}

int StringWidth(const Text& text) {
    if (!currentFont) return 0;
    int width = 0;
    for (char16_t code : text) {
        // Summed as single reals and cut to whole pixels at every step.
        if (const TImageGlyph* glyph = currentFont->GlyphFor(code)) width = static_cast<int>(static_cast<float>(width) + glyph->advance);
    }
    return width;
}

int StringHeight(const Text& text) {
    if (!currentFont) return 0;
    int height = 0;
    for (char16_t code : text) {
        if (const TImageGlyph* glyph = currentFont->GlyphFor(code)) height = std::max(height, static_cast<int>(glyph->h));
    }
    return height;
}

void DrawString(std::string_view utf8, float x, float y) { DrawString(Utf8ToText(utf8), x, y); }
int StringWidth(std::string_view utf8) { return StringWidth(Utf8ToText(utf8)); }
int StringHeight(std::string_view utf8) { return StringHeight(Utf8ToText(utf8)); }

void SetTextFont(const TBitmapFontRef& font) { currentFont = font ? font : defaultFont; }

TBitmapFontRef GetTextFont() { return currentFont; }

void InstallDefaultTextFont(const TBitmapFontRef& font) {
    defaultFont = font;
    currentFont = font;
}

void InitTextFontModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitStreamModule();
    RegisterResource(kFontResource, embedded::veskfont_bin_data(), embedded::veskfont_bin_size());
}

}  // namespace vesk
