// The intro's visible material, cut at start-up from the two embedded
// pictures: one image per pixel row of the logo, and one glyph image per
// character code for the scroller. Both pictures are pasted into the back
// buffer and grabbed back piece by piece, which turns their transparent
// colours (pure red in the logo, pure magenta in the font sheet) into
// transparent pixels on the way. Nothing of this work is ever presented.
#pragma once

#include <vesk/graphics/image.h>
#include <vesk/runtime/text.h>

#include <array>
#include <cstdint>
#include <vector>

namespace vesk {

inline const Text kPictureUrl = u"incbin::\\basic\\torvel_test3.tga";
inline const Text kFontSheetUrl = u"incbin::\\basic\\fontjap2.tga";

// The font sheet's characters, cell by cell: capitals, digits, nine signs
// and the lower-case control letters, whose cells are empty.
inline const Text kCharMap = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:'\"?!_- abcdefghijklmnopqrstuvwxyz";

inline constexpr int kGlyphWidth = 16;
inline constexpr int kGlyphHeight = 13;

struct TPictureRows {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<TImageRef> rows;  // each width x 1, anchored top-left
};

using TGlyphTable = std::array<TImageRef, 256>;

// Both need graphics open; each leaves the back buffer cleared. A picture
// that cannot be read stops the intro with a failure naming it.
TPictureRows BuildPictureRows();
TGlyphTable BuildGlyphTable();

// Where cell k of a sheet `sheetWidth` pixels wide lies.
int32_t GlyphCellX(int k, int32_t sheetWidth);
int32_t GlyphCellY(int k, int32_t sheetWidth);

}  // namespace vesk
