#include "intro/material.h"

#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>
#include <vesk/pixmap/pixmap_reader.h>
#include <vesk/runtime/failure.h>

namespace vesk {
namespace {

constexpr int kLockableFrames = 5;

TPixmapRef ReadAsset(const Text& url) {
    TPixmapRef pixmap = ReadPixmap(url);
    if (!pixmap) Fail("Unable to read " + TextToUtf8(url));
    return pixmap;
}

// Grabs the rectangle at (x, y) of the back buffer into a lockable image,
// then makes a plain masked image of the pixels: masked so the transparent
// colour stays transparent, without filtering so rows and glyphs stay sharp.
TImageRef CutImage(int x, int y, int width, int height) {
    const TImageRef temp = CreateLockableImage(width, height, kLockableFrames, -1);
    GrabImageFrame(temp, x, y, 0);
    const TPixmapRef pixels = LockImageFrame(temp, 0, 1, 1);
    UnlockImageFrame(temp, 0);
    return MakeImage(pixels, IMAGE_MASKED);
}

}  // namespace

TPictureRows BuildPictureRows() {
    const TPixmapRef picture = ReadAsset(kPictureUrl);
    TPictureRows result;
    result.width = picture->width;
    result.height = picture->height;
    ClearScreen();
    SetBlendMode(BLEND_ALPHA);
    PastePixmapToScreen(picture, 0, 0);
    result.rows.resize(result.height);
    SetTransparentColor(255, 0, 0);
    // The rows are drawn one after another every frame: one texture for all
    // of them lets the driver draw them at once.
    RenderDriver().ReserveFrames(result.width, 1, IMAGE_MASKED, result.height);
    for (int32_t row = 0; row < result.height; ++row) result.rows[row] = CutImage(0, row, result.width, 1);
    return result;
}

int32_t GlyphCellX(int k, int32_t sheetWidth) { return (kGlyphWidth * k) % sheetWidth; }
int32_t GlyphCellY(int k, int32_t sheetWidth) { return (kGlyphWidth * k) / sheetWidth * kGlyphHeight; }

TGlyphTable BuildGlyphTable() {
    ClearScreen();
    const TPixmapRef sheet = ReadAsset(kFontSheetUrl);
    TGlyphTable table;
    ClearScreen();
    // Codes outside the sheet keep a blank glyph grabbed from the cleared
    // back buffer.
    for (TImageRef& glyph : table) {
        glyph = CreateLockableImage(kGlyphWidth, kGlyphHeight, kLockableFrames, -1);
        GrabImageFrame(glyph, 0, 0, 0);
    }
    SetBlendMode(BLEND_ALPHA);
    PastePixmapToScreen(sheet, 0, 0);
    SetTransparentColor(255, 0, 255);
    RenderDriver().ReserveFrames(kGlyphWidth, kGlyphHeight, IMAGE_MASKED, static_cast<int>(kCharMap.size()));
    for (int k = 0; k < static_cast<int>(kCharMap.size()); ++k) {
        TImageRef& glyph = table[kCharMap[k]];
        glyph = CutImage(GlyphCellX(k, sheet->width), GlyphCellY(k, sheet->width), kGlyphWidth, kGlyphHeight);
        CentreImageAnchor(glyph);
    }
    ClearScreen();
    return table;
}

}  // namespace vesk
