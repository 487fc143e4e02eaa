// Draws are gathered and handed to the GL in runs; whatever changes what a
// pending draw means (new texels, a new state) must let the earlier draws
// land first, so the picture is the one drawn call by call.
#include "gl_screen.h"

#include <vesk/graphics/image.h>
#include <vesk/graphics/image_settings.h>
#include <vesk/pixmap/pixmap.h>

namespace vesk {
namespace {

using test::PixelAt;

class Batching : public test::GLScreenTest {};

TPixmapRef Filled(int w, int h, TArgb argb) {
    TPixmapRef pixmap = CreatePixmap(w, h, FormatRGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixmap->SetPixel(x, y, argb);
    return pixmap;
}

TEST_F(Batching, DrawsBeforeATextureChangeOrAStateChangeKeepWhatTheyWereDrawnWith) {
    SetBlendMode(BLEND_OPAQUE);
    TImageRef image = MakeImage(Filled(4, 4, 0xFFFF0000u), IMAGE_DYNAMIC);
    DrawImageFrame(image, 0, 0, 0);
    LockImageFrame(image, 0, 0, 1)->Paste(*Filled(4, 4, 0xFF00FF00u), 0, 0);
    UnlockImageFrame(image, 0);
    DrawImageFrame(image, 10, 0, 0);
    SetDrawColor(0, 0, 255);
    FillRect(20, 0, 4, 4);
    SetClipViewport(0, 0, 30, 30);
    SetDrawColor(255, 255, 255);
    FillRect(26, 0, 8, 4);  // clipped at x = 30
    EXPECT_EQ(PixelAt(1, 1), 0xFF0000u);
    EXPECT_EQ(PixelAt(11, 1), 0x00FF00u);
    EXPECT_EQ(PixelAt(21, 1), 0x0000FFu);
    EXPECT_EQ(PixelAt(29, 1), test::kWhite);
    EXPECT_EQ(PixelAt(31, 1), test::kBlack);
}

}  // namespace
}  // namespace vesk
