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

// Quads of one run, one colour each: only a flush between them can give
// them different scissors or blend modes.
TEST_F(Batching, AScissorChangeLetsEarlierDrawsLandUnclipped) {
    SetDrawColor(255, 0, 0);
    FillRect(100, 100, 4, 4);
    SetClipViewport(0, 0, 30, 30);  // on: the quad above stays
    FillRect(100, 110, 4, 4);
    SetClipViewport(10, 10, 30, 30);  // moved
    FillRect(0, 0, 20, 4);
    SetClipViewport(0, 0, 768, 576);  // off again
    FillRect(100, 120, 4, 4);
    EXPECT_EQ(PixelAt(101, 101), 0xFF0000u);
    EXPECT_EQ(PixelAt(101, 111), test::kBlack);
    EXPECT_EQ(PixelAt(5, 1), test::kBlack);
    EXPECT_EQ(PixelAt(101, 121), 0xFF0000u);
}

TEST_F(Batching, ABlendChangeLetsEarlierDrawsLandWithTheirMode) {
    SetClearColor(0, 0, 200);
    ClearScreen();
    SetDrawColor(255, 0, 0);
    SetDrawAlpha(0.5f);
    SetBlendMode(BLEND_ALPHA);
    FillRect(0, 0, 4, 4);
    SetBlendMode(BLEND_OPAQUE);
    FillRect(10, 0, 4, 4);
    SetBlendMode(BLEND_ADD);
    FillRect(20, 0, 4, 4);
    SetBlendMode(BLEND_ALPHA);
    EXPECT_EQ(PixelAt(1, 1), 0x7F0064u);
    EXPECT_EQ(PixelAt(11, 1), 0xFF0000u);
    EXPECT_EQ(PixelAt(21, 1), 0x7F00C8u);
}

}  // namespace
}  // namespace vesk
