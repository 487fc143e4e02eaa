// Window sizes, image sizes and frame counts that cannot be are refused at
// the call with a reason, before anything is closed or allocated.
#include "gl_screen.h"

#include <vesk/graphics/image.h>
#include "support/failure_checks.h"

#include <SDL.h>

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
    EXPECT_TRUE(FailsWith([] { MakeImage(CreatePixmap(0, 4, FormatRGBA8888)); }, "Unable to create texture"));
    EXPECT_TRUE(FailsWith([] { CreateLockableImage(1 << 20, 4, 1); }, "Unable to create texture"));
    // A range of no cells is no image, like a range beyond the sheet.
    EXPECT_FALSE(MakeCellImage(CreatePixmap(16, 16, FormatRGBA8888), 8, 8, 0, 0));
    EXPECT_EQ(CreateLockableImage(8, 8, 2)->frames.size(), 2u);
}

TEST_F(ImageArguments, ScreenGrabsOfNegativeSizeAreRefused) {
    EXPECT_TRUE(FailsWith([] { GrabScreenPixmap(0, 0, -5, 5); }, "Invalid pixmap size"));
    EXPECT_EQ(GrabScreenPixmap(0, 0, 0, 5)->capacity, 0);
}

}  // namespace
}  // namespace vesk::test
