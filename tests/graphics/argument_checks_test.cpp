// Window sizes, image sizes and frame counts that cannot be are refused at
// the call with a reason, before anything is closed or allocated.
#include "gl_screen.h"

#include "graphics/gl_driver.h"
#include <vesk/graphics/image.h>
#include "support/failure_checks.h"

#include <SDL.h>

#include <climits>
#include <cmath>

namespace vesk::test {
namespace {

TEST(GraphicsArguments, ImpossibleModesFailBeforeTheOpenWindowCloses) {
    EXPECT_TRUE(FailsWith([] { OpenGraphics(-640, 480, 0, 60); }, "Graphics mode does not exist"));
    EXPECT_FALSE(GraphicsOpen());
    OpenGraphics(64, 48, 0, 0);
    EXPECT_TRUE(FailsWith([] { OpenGraphics(640, 0, 0, 0); }, "Graphics mode does not exist"));
    EXPECT_TRUE(FailsWith([] { OpenGraphics(640, 480, -32, 0); }, "Graphics mode does not exist"));
    EXPECT_TRUE(FailsWith([] { OpenGraphics(640, 480, 0, -60); }, "Graphics mode does not exist"));
    EXPECT_TRUE(GraphicsOpen());
    EXPECT_EQ(GetScreenWidth(), 64);
    CloseGraphics();
}

TEST(GraphicsArguments, ImagesMadeBeforeOpeningSayWhyTheyFail) {
    auto pixmap = CreatePixmap(4, 4, FormatRGBA8888);
    EXPECT_TRUE(FailsWith([&] { MakeImage(pixmap); }, "Unable to calculate tex size"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(4, 4, 1); }, "Unable to calculate tex size"));
}

TEST(GraphicsArguments, TheWindowTakesTheProgramsTitleBeforeAndWhileItIsOpen) {
    SetWindowTitle("Space Race \xC3\xA9");
    OpenGraphics(64, 48, 0, 0);
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GL_GetCurrentWindow()), "Space Race \xC3\xA9");
    SetWindowTitle(u"Score 10");
    EXPECT_STREQ(SDL_GetWindowTitle(SDL_GL_GetCurrentWindow()), "Score 10");
    CloseGraphics();
}

using ImageArguments = GLScreenTest;

TEST_F(ImageArguments, ImagesNeedAPixelAndAFrame) {
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(-1, -1, 1); }, "Unable to create texture"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(8, 0, 1); }, "Unable to create texture"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(8, 8, 0); }, "Unable to create texture"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(8, 8, -1); }, "Unable to create texture"));
    auto emptied = CreatePixmap(1, 4, FormatRGBA8888);
    emptied->width = 0;
    EXPECT_TRUE(FailsWith([&] { MakeImage(emptied); }, "Unable to create texture"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(1 << 20, 4, 1); }, "Unable to create texture"));
    // A range of no cells is no image, like a range beyond the sheet.
    EXPECT_FALSE(MakeCellImage(CreatePixmap(16, 16, FormatRGBA8888), 8, 8, 0, 0));
    EXPECT_EQ(CreateLockableImage(8, 8, 2)->frames.size(), 2u);
}

TEST_F(ImageArguments, ScreenGrabsOfNoPixelAreRefused) {
    EXPECT_TRUE(FailsWith([] { GrabScreenPixmap(0, 0, -5, 5); }, "Invalid pixmap size"));
    EXPECT_TRUE(FailsWith([] { GrabScreenPixmap(0, 0, 5, 0); }, "Invalid pixmap size"));
}

// Values far past the window, or not numbers at all, found by fuzzing: each
// once overflowed, spun or crashed the GL.
TEST_F(ImageArguments, VastAndBrokenDrawingValuesStayBounded) {
    EXPECT_TRUE(FailsWith([] { SetClipViewport(0, 0, -1, 10); }, "Invalid clip viewport"));
    EXPECT_EQ(EllipseSegmentCount(1e30f, 0), 1 << 16);
    EXPECT_EQ(EllipseSegmentCount(NAN, 1), 12);
    FillOval(10, 10, 1e30f, NAN);
    EXPECT_EQ(GrabScreenPixmap(INT_MIN, INT_MIN, 4, 4)->GetPixel(0, 0), 0u);
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(9, INT_MAX, 2); }, "Unable to create texture"));

    // A viewport reaching far past the window is tiled where the window is.
    TImageRef tile = CreateLockableImage(8, 8, 1, 0);
    TPixmapRef pixels = LockImageFrame(tile, 0, 0, 1);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pixels->SetPixel(x, y, 0xFFFFFFFF);
    UnlockImageFrame(tile, 0);
    SetClipViewport(INT_MIN / 2, INT_MIN / 2, INT_MAX, INT_MAX);
    TileImageFrame(tile, 3, 5, 0);
    EXPECT_EQ(PixelAt(0, 0), kWhite);
    EXPECT_EQ(PixelAt(767, 575), kWhite);
}

}  // namespace
}  // namespace vesk::test
