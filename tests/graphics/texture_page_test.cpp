// Texture pages: frames of one size share a layered texture and draw the
// very pixels their own textures would; slots come back on release and
// pages belong to the context they were made in.
#include "gl_screen.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_texture_frame.h"
#include <vesk/graphics/image.h>
#include <vesk/graphics/text_font.h>

#include <GL/gl.h>

#include <cstring>
#include <vector>

namespace vesk::test {
namespace {

using TexturePages = GLScreenTest;

TGLTextureFrame& GLFrame(const TImageRef& image, int frame = 0) {
    return dynamic_cast<TGLTextureFrame&>(*image->frames[frame]);
}

TPixmapRef Noise(int w, int h, uint32_t seed) {
    TPixmapRef pixmap = CreatePixmap(w, h, FormatRGBA8888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixmap->SetPixel(x, y, 0xFF000000u | ((seed + x * 2654435761u + y * 40503u) & 0xFFFFFF));
    return pixmap;
}

bool SameScreen(const TPixmapRef& a, const TPixmapRef& b) {
    return a->width == b->width && a->height == b->height && std::memcmp(a->pixels, b->pixels, static_cast<size_t>(a->pitch) * a->height) == 0;
}

// Draws 24 frames, from `first` on, at fractional positions with the
// current rotation and scale, and returns the screen.
TPixmapRef DrawGlyphRun(const std::vector<std::shared_ptr<TGLTextureFrame>>& frames, int first, float scale) {
    ClearScreen();
    for (int k = 0; k < 24 && first + k < static_cast<int>(frames.size()); ++k) {
        const float x = 60.0f + (k % 8) * 11.0f * scale + 0.37f * k;
        const float y = 40.0f + (k / 8) * 18.0f * scale + 0.21f * k;
        frames[first + k]->Draw(0, 0, 8, 16, x, y);
    }
    return GrabScreenPixmap(0, 0, 768, 576);
}

// Every built-in glyph at three sizes, turned by 30 degrees and not, sampled
// nearest (its page) and filtered, byte for byte against its own texture.
TEST_F(TexturePages, GlyphsDrawnFromAPageMatchTheirOwnTexturesByteForByte) {
    const TBitmapFontRef font = GetTextFont();
    for (int flags : {0, int(IMAGE_FILTERED)}) {
        std::vector<std::shared_ptr<TGLTextureFrame>> shared, own;
        for (int g = 0; g < 96; ++g) {
            const TImageRef& image = font->glyphs[g]->image;
            shared.push_back(flags ? TGLTextureFrame::FromPixmap(image->pixmaps[0], flags)
                                   : std::dynamic_pointer_cast<TGLTextureFrame>(image->frames[0]));
            own.push_back(TGLTextureFrame::WithOwnTexture(image->pixmaps[0], flags));
        }
        EXPECT_EQ(shared[0]->slot.page != nullptr, flags == 0);
        SetBlendMode(BLEND_ALPHA);
        for (float scale : {1.0f, 3.0f, 5.0f}) {
            for (float rotation : {0.0f, 30.0f}) {
                SetRotationAndScale(rotation, scale, scale);
                for (int first = 0; first < 96; first += 24) {
                    ASSERT_TRUE(SameScreen(DrawGlyphRun(shared, first, scale), DrawGlyphRun(own, first, scale)))
                        << "flags " << flags << ", scale " << scale << ", rotation " << rotation << ", glyphs from " << first;
                }
            }
        }
    }
}

// A page layer holds exactly the frame's own texture: the picture, its
// replicated last column and row, and the cleared rest.
TEST_F(TexturePages, ALayerHoldsWhatTheOwnTextureHolds) {
    TPixmapRef cell = Noise(13, 6, 5);
    auto shared = TGLTextureFrame::FromPixmap(cell, 0);
    auto own = TGLTextureFrame::WithOwnTexture(cell, 0);
    ASSERT_TRUE(shared->slot.page);
    const TTexturePage& page = *shared->slot.page;
    ASSERT_EQ(page.Width(), 16);
    ASSERT_EQ(page.Height(), 8);
    EXPECT_FLOAT_EQ(shared->umax, own->umax);
    EXPECT_FLOAT_EQ(shared->vmax, own->vmax);
    GLDriver().Flush();
    std::vector<uint32_t> layers(static_cast<size_t>(16) * 8 * page.Layers()), texels(16 * 8);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GLDriver().BindLayeredTexture(page.Texture());
    glGetTexImage(GL_TEXTURE_3D, 0, GL_RGBA, GL_UNSIGNED_BYTE, layers.data());
    GLDriver().BindTexture(own->texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(std::memcmp(&layers[texels.size() * shared->slot.layer], texels.data(), texels.size() * 4), 0);
    EXPECT_EQ(texels[6 * 16 + 13], texels[5 * 16 + 12]);  // the replicated corner
}

TEST_F(TexturePages, FontCellsAndReservedFramesEachShareOnePage) {
    const TBitmapFontRef font = GetTextFont();
    const uint32_t fontPage = GLFrame(font->glyphs[0]->image).texture;
    for (const auto& glyph : font->glyphs) EXPECT_EQ(GLFrame(glyph->image).texture, fontPage);

    // A half-used page of 32 x 32 frames cannot take 40 cells: they go
    // together to another.
    std::vector<TImageRef> loose;
    for (int i = 0; i < 40; ++i) loose.push_back(MakeImage(Noise(32, 32, i), 0));
    TImageRef cells = MakeCellImage(Noise(32 * 8, 32 * 5, 9), 32, 32, 0, 40, 0);
    ASSERT_TRUE(cells);
    EXPECT_NE(GLFrame(cells, 0).texture, GLFrame(loose[0]).texture);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(GLFrame(cells, i).texture, GLFrame(cells, 0).texture);

    // Frames made one by one after a reservation, lockable ones between them.
    RenderDriver().ReserveFrames(16, 13, IMAGE_MASKED, 71);
    std::vector<TImageRef> glyphs;
    for (int i = 0; i < 71; ++i) {
        CreateLockableImage(16, 13, 2, -1);
        glyphs.push_back(MakeImage(Noise(16, 13, i), IMAGE_MASKED));
    }
    for (const TImageRef& glyph : glyphs) EXPECT_EQ(GLFrame(glyph).texture, GLFrame(glyphs[0]).texture);
}

TEST_F(TexturePages, OnlyFixedNearestSampledFramesGoOnPages) {
    EXPECT_TRUE(GLFrame(MakeImage(Noise(8, 8, 1), IMAGE_MASKED)).slot.page);
    EXPECT_FALSE(GLFrame(MakeImage(Noise(8, 8, 1), IMAGE_FILTERED)).slot.page);
    EXPECT_FALSE(GLFrame(MakeImage(Noise(8, 8, 1), IMAGE_DYNAMIC)).slot.page);
    EXPECT_FALSE(GLFrame(MakeImage(Noise(256, 256, 1), 0)).slot.page);  // large: its own texture
}

TEST_F(TexturePages, ReleasedSlotsAreTakenAgainAndEmptyPagesGo) {
    TImageRef keep = MakeImage(Noise(8, 8, 1), 0);
    TImageRef first = MakeImage(Noise(8, 8, 2), 0);
    const TPageSlot slot = GLFrame(first).slot;
    first.reset();
    TImageRef second = MakeImage(Noise(8, 8, 3), 0);
    EXPECT_EQ(GLFrame(second).slot.page, slot.page);
    EXPECT_EQ(GLFrame(second).slot.layer, slot.layer);
    SetBlendMode(BLEND_OPAQUE);
    DrawImageFrame(second, 0, 0, 0);
    EXPECT_EQ(PixelAt(3, 2), second->pixmaps[0]->GetPixel(3, 2) & 0xFFFFFF);

    const size_t pages = GLDriver().Pages().PageCount();
    keep.reset();
    second.reset();
    EXPECT_EQ(GLDriver().Pages().PageCount(), pages - 1);
}

TEST_F(TexturePages, ReopeningGraphicsMakesNewPages) {
    TImageRef before = MakeImage(Noise(8, 8, 1), 0);
    const std::shared_ptr<TTexturePage> oldPage = GLFrame(before).slot.page;
    OpenGraphics(768, 576, 0, 0);
    EXPECT_EQ(GLDriver().Pages().PageCount(), 1u);  // the new font's
    TImageRef after = MakeImage(Noise(8, 8, 2), 0);
    EXPECT_NE(GLFrame(after).slot.page, oldPage);
    before.reset();  // the old page's name is not the new context's to delete
    SetBlendMode(BLEND_OPAQUE);
    DrawImageFrame(after, 0, 0, 0);
    EXPECT_EQ(PixelAt(5, 5), after->pixmaps[0]->GetPixel(5, 5) & 0xFFFFFF);
}

}  // namespace
}  // namespace vesk::test
