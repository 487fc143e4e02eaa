// Images on textures: sizes, edges, masks, locking, cells, grabbing, tiling
// and the lifetime of texture names.
#include "gl_screen.h"
#include "support/build_features.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_texture_frame.h"
#include <vesk/graphics/image.h>
#include <vesk/pixmap/png_file.h>
#include <vesk/runtime/failure.h>

#include <GL/gl.h>

#include <cstring>
#include <utility>
#include <vector>

namespace vesk::test {
namespace {

using Images = GLScreenTest;

constexpr TArgb kRed = 0xFFFF0000u;
constexpr TArgb kGreen = 0xFF00FF00u;
constexpr TArgb kBlue = 0xFF0000FFu;

TPixmapRef Filled(int w, int h, TArgb argb, int format = FormatRGBA8888) {
    TPixmapRef pixmap = CreatePixmap(w, h, format);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixmap->SetPixel(x, y, argb);
    return pixmap;
}

// Level `level` of a texture as RGBA bytes, read back from GL.
std::vector<uint32_t> TextureTexels(uint32_t texture, int level, int w, int h) {
    GLDriver().BindTexture(texture);
    std::vector<uint32_t> texels(static_cast<size_t>(w) * h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

TGLTextureFrame& GLFrame(const TImageRef& image, int frame = 0) {
    return dynamic_cast<TGLTextureFrame&>(*image->frames[frame]);
}

TEST_F(Images, TexturesArePowersOfTwoWithOneRepeatedColumnAndRow) {
    int tw, th;
    CalculateTextureSize(16, 13, tw, th);
    EXPECT_EQ(tw, 16);
    EXPECT_EQ(th, 16);
    CalculateTextureSize(450, 1, tw, th);
    EXPECT_EQ(tw, 512);
    EXPECT_EQ(th, 1);

    TPixmapRef tall = Filled(16, 13, kRed);
    for (int x = 0; x < 16; ++x) tall->SetPixel(x, 12, kBlue);
    auto frame = TGLTextureFrame::WithOwnTexture(tall, 0);
    EXPECT_FLOAT_EQ(frame->umax, 1.0f);
    EXPECT_FLOAT_EQ(frame->vmax, 0.8125f);
    std::vector<uint32_t> texels = TextureTexels(frame->texture, 0, 16, 16);
    EXPECT_EQ(texels[13 * 16 + 5], texels[12 * 16 + 5]);  // row 13 repeats row 12
    EXPECT_EQ(texels[14 * 16 + 5], 0u);                    // the rest is cleared
    EXPECT_EQ(texels[15 * 16 + 15], 0u);

    TPixmapRef row = Filled(450, 1, kGreen, FormatRGB888);
    row->SetPixel(449, 0, kBlue);
    auto wide = TGLTextureFrame::FromPixmap(row, IMAGE_FILTERED);
    EXPECT_FLOAT_EQ(wide->umax, 0.87890625f);
    EXPECT_FLOAT_EQ(wide->vmax, 1.0f);
    texels = TextureTexels(wide->texture, 0, 512, 1);
    EXPECT_EQ(texels[450], texels[449]);
    EXPECT_EQ(texels[451], 0u);
}

TEST_F(Images, FilteredImagesHaveEveryMipLevelSoShrunkImagesStillShow) {
    TImageRef image = MakeImage(Filled(64, 64, kRed), IMAGE_FILTERED);
    EXPECT_EQ(TextureTexels(GLFrame(image).texture, 6, 1, 1)[0], 0xFF0000FFu);  // bytes R, G, B, A
    SetBlendMode(BLEND_OPAQUE);
    DrawImageStretched(image, 10, 10, 3, 3, 0);
    EXPECT_EQ(PixelAt(11, 11), 0xFF0000u);

    // A window into a wider sheet: every level is read with its own row
    // length, not the sheet's.
    TPixmapRef sheet = Filled(64, 16, kBlue);
    sheet->Paste(*Filled(16, 16, kRed), 0, 0);
    TImageRef cell = MakeImage(sheet->SubPixmap(0, 0, 16, 16), IMAGE_FILTERED);
    for (uint32_t texel : TextureTexels(GLFrame(cell).texture, 1, 8, 8)) ASSERT_EQ(texel, 0xFF0000FFu);
}

// Soft-edged noise with alpha, so that any sampling difference shows.
TPixmapRef Noise(int w, int h, uint32_t seed) {
    TPixmapRef pixmap = CreatePixmap(w, h, FormatRGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixmap->SetPixel(x, y, (seed + x * 2654435761u + y * 40503u) | 0x40000000u);
    return pixmap;
}

// Filtered sprites, placed texel for texel or not, in one run: the screen
// the driver draws against the one filtering alone draws.
TPixmapRef DrawSprites(const std::vector<TImageRef>& sprites, bool nearestWhenAligned) {
    GLDriver().nearestWhenAligned = nearestWhenAligned;
    ClearScreen();
    for (int i = 0; i < 60; ++i) {
        // Each sprite twice in a row, so that runs of one texture switch
        // between placements.
        const TImageRef& sprite = sprites[(i / 2) % sprites.size()];
        const float x = static_cast<float>((i * 37) % 760) - 8, y = static_cast<float>((i * 53) % 570) - 8;
        if (i % 3 == 1) {
            DrawImageFrame(sprite, x + 0.5f, y, 0);  // between texels
        } else if (i % 3 == 2) {
            DrawImageStretched(sprite, x, y, sprite->width * 2.0f, static_cast<float>(sprite->height), 0);
        } else {
            DrawImageFrame(sprite, x, y, 0);
        }
    }
    GLDriver().nearestWhenAligned = true;
    return GrabScreenPixmap(0, 0, 768, 576);
}

TEST_F(Images, FilteredFramesPlacedTexelForTexelDrawWhatFilteringDraws) {
    std::vector<TImageRef> sprites;
    for (auto [w, h] : {std::pair{32, 32}, {8, 16}, {64, 4}, {16, 13}, {5, 7}}) sprites.push_back(MakeImage(Noise(w, h, w * 31 + h), IMAGE_FILTERED));
    sprites.push_back(CreateLockableImage(16, 16, 1, IMAGE_FILTERED));
    LockImageFrame(sprites.back(), 0, 0, 1)->Paste(*Noise(16, 16, 3), 0, 0);
    UnlockImageFrame(sprites.back(), 0);
    SetBlendMode(BLEND_ALPHA);
    const TPixmapRef filtered = DrawSprites(sprites, false);
    const TPixmapRef drawn = DrawSprites(sprites, true);
    EXPECT_EQ(std::memcmp(filtered->pixels, drawn->pixels, static_cast<size_t>(filtered->pitch) * filtered->height), 0);
    EXPECT_TRUE(GLFrame(sprites[0]).samplingNearest || GLFrame(sprites[1]).samplingNearest);
}

TEST_F(Images, OversizePixmapsShrinkButLockableFramesRefuse) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    TImageRef image = MakeImage(Filled(largest * 2, 1, kRed), 0);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, largest * 2);
    EXPECT_FLOAT_EQ(GLFrame(image).umax, 1.0f);
    try {
        CreateLockableImage(largest * 2, 1, 1, 0);
        FAIL() << "no failure";
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Unable to create texture");
    }
}

TEST_F(Images, MaskingMakesTheTransparentColourSeeThroughOnlyWithoutAlpha) {
    SetClearColor(50, 50, 50);
    ClearScreen();
    SetTransparentColor(255, 0, 255);
    TPixmapRef rgb = Filled(8, 8, 0xFFFF00FFu, FormatRGB888);
    rgb->SetPixel(0, 0, kGreen);
    TPixmapRef rgba = Filled(8, 8, 0xFFFF00FFu);
    SetBlendMode(BLEND_ALPHA);
    DrawImageFrame(MakeImage(rgb, IMAGE_MASKED), 0, 0, 0);
    DrawImageFrame(MakeImage(rgba, IMAGE_MASKED), 20, 0, 0);
    DrawImageFrame(MakeImage(rgb, 0), 40, 0, 0);
    EXPECT_EQ(PixelAt(0, 0), 0x00FF00u);
    EXPECT_EQ(PixelAt(4, 4), 0x323232u);
    EXPECT_EQ(PixelAt(24, 4), 0xFF00FFu);
    EXPECT_EQ(PixelAt(44, 4), 0xFF00FFu);
}

TEST_F(Images, PicturesAreReadByNameAndMissingOnesGiveNoImage) {
    if (test::kPngAbsent) GTEST_SKIP() << "built without PNG";
    InitPngModule();
    EXPECT_FALSE(MakeImage(u"no/such/picture.png"));
    EXPECT_FALSE(MakeCellImage(u"no/such/picture.png", 8, 8, 0, 1));
    TImageRef cells = MakeCellImage(Utf8ToText(VESK_TEST_DATA_DIR "/pngsuite/basn2c08.png"), 8, 8, 0, 16, 0);
    ASSERT_TRUE(cells);
    EXPECT_EQ(cells->pixmaps[15]->width, 8);
}

TEST_F(Images, OnlyDynamicFramesLockAndAReadLockUploadsNothing) {
    TImageRef still = MakeImage(Filled(4, 4, kRed), 0);
    try {
        LockImageFrame(still, 0, 1, 1);
        FAIL() << "locked";
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Image frame cannot be locked");
    }
    try {
        UnlockImageFrame(still, 0);
        FAIL() << "unlocked";
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Image frame cannot be unlocked");
    }

    SetClearColor(90, 90, 90);
    ClearScreen();
    SetBlendMode(BLEND_OPAQUE);
    TImageRef lockable = CreateLockableImage(4, 4, 1, IMAGE_FILTERED);
    EXPECT_EQ(lockable->flags, IMAGE_DYNAMIC | IMAGE_FILTERED);
    DrawImageFrame(lockable, 0, 0, 0);  // before any upload: cleared texels
    EXPECT_EQ(PixelAt(2, 2), kBlack);
    TPixmapRef view = LockImageFrame(lockable, 0, 0, 1);
    ASSERT_EQ(view->width, 4);
    EXPECT_EQ(view->GetPixel(3, 3), 0u);  // a fresh frame starts cleared
    view->Paste(*Filled(4, 4, kRed), 0, 0);
    UnlockImageFrame(lockable, 0);
    DrawImageFrame(lockable, 0, 0, 0);
    EXPECT_EQ(PixelAt(2, 2), 0xFF0000u);

    LockImageFrame(lockable, 0, 1, 0)->Paste(*Filled(4, 4, kGreen), 0, 0);
    UnlockImageFrame(lockable, 0);
    DrawImageFrame(lockable, 0, 0, 0);
    EXPECT_EQ(PixelAt(2, 2), 0xFF0000u);
    LockImageFrame(lockable, 0, 0, 1);
    UnlockImageFrame(lockable, 0);
    DrawImageFrame(lockable, 0, 0, 0);
    EXPECT_EQ(PixelAt(2, 2), 0x00FF00u);
}

TEST_F(Images, CellImagesTakeCellsInReadingOrderWithinTheSheet) {
    TPixmapRef sheet = Filled(64, 32, kBlack | 0xFF000000u);
    for (int cell = 0; cell < 8; ++cell) sheet->SetPixel((cell % 4) * 16, (cell / 4) * 16, 0xFF000000u | (cell * 30));
    EXPECT_FALSE(MakeCellImage(sheet, 16, 16, 1, 8, 0));
    EXPECT_FALSE(MakeCellImage(sheet, 0, 16, 0, 1, 0));
    EXPECT_FALSE(MakeCellImage(sheet, 16, 16, -1, 2, 0));
    TImageRef cells = MakeCellImage(sheet, 16, 16, 2, 6, 0);
    ASSERT_TRUE(cells);
    EXPECT_EQ(cells->width, 16);
    ASSERT_EQ(cells->frames.size(), 6u);
    EXPECT_EQ(cells->pixmaps[3]->GetPixel(0, 0) & 0xFF, 150u);  // cell 5: second row, second column
    SetBlendMode(BLEND_OPAQUE);
    DrawImageFrame(cells, 100, 100, 5);
    EXPECT_EQ(PixelAt(100, 100), 210u);
}

TEST_F(Images, AnchorsPlaceImagesAndAutoCentreAppliesToNewOnes) {
    SetAutoCentreAnchor(true);
    TImageRef image = MakeImage(Filled(10, 20, kRed), 0);
    EXPECT_FLOAT_EQ(image->anchorX, 5.0f);
    EXPECT_FLOAT_EQ(image->anchorY, 10.0f);
    SetDrawAnchor(100, 100);  // the drawing anchor is not the image's
    DrawImageFrame(image, 300, 300, 0);
    EXPECT_EQ(CountColour(290, 280, 30, 40, 0xFF0000u), 200);
    EXPECT_EQ(CountColour(295, 290, 10, 20, 0xFF0000u), 200);
    DrawImageFrame(image, 300, 300, 1);  // no such frame: nothing
}

TEST_F(Images, GrabbedFramesHoldTheScreenAndAreMaskedWhenAsked) {
    SetDrawColor(0, 0, 255);
    FillRect(10, 10, 4, 4);
    TImageRef image = CreateLockableImage(8, 8, 2, IMAGE_MASKED);
    GrabImageFrame(image, 8, 8, 1);
    ASSERT_TRUE(image->pixmaps[1]);
    TPixmapRef view = LockImageFrame(image, 1, 1, 0);
    EXPECT_EQ(view->GetPixel(2, 2), kBlue);
    EXPECT_EQ(view->GetPixel(0, 0) >> 24, 0u);  // black was the transparent colour
    UnlockImageFrame(image, 1);
    ClearScreen();
    SetClearColor(90, 90, 90);
    ClearScreen();
    SetDrawColor(255, 255, 255);
    DrawImageFrame(image, 100, 100, 1);
    EXPECT_EQ(PixelAt(103, 103), 0x0000FFu);
    EXPECT_EQ(PixelAt(100, 100), 0x5A5A5Au);
}

TEST_F(Images, TilesCoverTheViewportInStepsThroughThePosition) {
    TPixmapRef tile = Filled(8, 4, kGreen);
    for (int y = 0; y < 4; ++y) tile->SetPixel(0, y, kRed);
    TImageRef image = MakeImage(tile, 0);
    SetBlendMode(BLEND_OPAQUE);
    SetClipViewport(100, 50, 40, 30);
    SetDrawRotation(30);
    TileImageFrame(image, -13, 7, 0);  // columns at 3 mod 8
    for (int x = 100; x < 140; ++x) EXPECT_EQ(PixelAt(x, 60), (x % 8 == 3) ? 0xFF0000u : 0x00FF00u) << x;
    EXPECT_EQ(CountColour(100, 50, 40, 30, 0xFF0000u) + CountColour(100, 50, 40, 30, 0x00FF00u), 1200);
    SetClipViewport(0, 0, 768, 576);
    EXPECT_EQ(CountColour(90, 40, 60, 50, kBlack), 3000 - 1200);
    // The rotation is back in force afterwards.
    ClearScreen();
    FillRect(200, 200, 20, 20);
    EXPECT_EQ(PixelAt(215, 209), kWhite);  // local (18, 1) turned by 30 degrees
    EXPECT_EQ(PixelAt(218, 201), kBlack);
}

TEST_F(Images, DeletedAndStaleTextureNamesNeverHitNewTextures) {
    SetBlendMode(BLEND_OPAQUE);
    TImageRef first = MakeImage(Filled(4, 4, kRed), 0);
    DrawImageFrame(first, 0, 0, 0);  // leaves its texture bound
    const uint32_t name = GLFrame(first).texture;
    first.reset();
    // GL may hand the name out again; binding it must then really bind.
    GLDriver().BindTexture(name);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<uint32_t>(bound), name);
    TImageRef second = MakeImage(Filled(4, 4, kGreen), 0);
    DrawImageFrame(second, 0, 0, 0);
    EXPECT_EQ(PixelAt(1, 1), 0x00FF00u);

    // Reopening makes earlier textures stale; releasing them must not
    // delete the new context's texture of the same name.
    OpenGraphics(768, 576, 0, 0);
    SetBlendMode(BLEND_OPAQUE);
    TImageRef third = MakeImage(Filled(4, 4, kBlue), 0);
    second.reset();
    DrawImageFrame(third, 0, 0, 0);
    EXPECT_EQ(PixelAt(1, 1), 0x0000FFu);
}

}  // namespace
}  // namespace vesk::test
