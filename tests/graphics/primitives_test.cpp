// The drawing state and primitives, judged by the pixels they light.
#include "gl_screen.h"

#include "graphics/gl_driver.h"

#include <GL/gl.h>

#include <vector>

namespace vesk::test {
namespace {

using Primitives = GLScreenTest;

TEST_F(Primitives, RotatedRectangleTurnsClockwiseAboutItsPosition) {
    SetDrawRotation(90);
    FillRect(100, 100, 10, 20);
    // Corners (100, 100), (100, 110), (80, 110), (80, 100).
    EXPECT_EQ(CountColour(80, 100, 20, 10, kWhite), 200);
    EXPECT_EQ(CountColour(70, 90, 40, 30, kWhite), 200);
}

TEST_F(Primitives, AnchorAtHalfSizeCentresRectangle) {
    SetDrawAnchor(5, 10);
    FillRect(200, 200, 10, 20);
    EXPECT_EQ(CountColour(195, 190, 10, 20, kWhite), 200);
    EXPECT_EQ(CountColour(190, 185, 20, 30, kWhite), 200);
    SetDrawScale(2, 2);  // scaling grows the rectangle about its anchor
    ClearScreen();
    FillRect(200, 200, 10, 20);
    EXPECT_EQ(CountColour(190, 180, 20, 40, kWhite), 800);
}

TEST_F(Primitives, PointsAndSegmentsLightThePixelsTheyName) {
    SetRotationAndScale(45, 3, 3);  // none of this applies to points
    SetDrawAnchor(7, 7);
    PlotPoint(5, 6);
    EXPECT_EQ(PixelAt(5, 6), kWhite);
    EXPECT_EQ(CountColour(0, 0, 20, 20, kWhite), 1);

    ClearScreen();
    SetRotationAndScale(0, 1, 1);
    SetDrawAnchor(0, 0);
    SetDrawOrigin(0, 30);
    DrawLineSegment(10, 10, 20, 10, false);
    EXPECT_EQ(CountColour(0, 40, 40, 1, kWhite), 10);
    EXPECT_EQ(PixelAt(20, 40), kBlack);
    DrawLineSegment(10, 10, 20, 10, true);
    EXPECT_EQ(PixelAt(20, 40), kWhite);
    EXPECT_EQ(CountColour(0, 30, 40, 20, kWhite), 11);
}

TEST_F(Primitives, OvalsFillTheirBoxRoundly) {
    EXPECT_EQ(EllipseSegmentCount(2, 2), 12);
    EXPECT_EQ(EllipseSegmentCount(20, 20), 40);
    EXPECT_EQ(EllipseSegmentCount(15, 2), 16);
    EXPECT_EQ(EllipseSegmentCount(-7, -7), 12);
    FillOval(100, 100, 40, 40);
    EXPECT_EQ(PixelAt(120, 120), kWhite);
    EXPECT_EQ(PixelAt(101, 101), kBlack);  // the box's corner stays out
    EXPECT_EQ(PixelAt(138, 138), kBlack);
    EXPECT_EQ(PixelAt(101, 120), kWhite);
    const int area = CountColour(95, 95, 50, 50, kWhite);
    EXPECT_NEAR(area, 1257, 25);  // pi * 20 * 20
}

TEST_F(Primitives, PolygonsNeedThreeWholeCornersAndArePlacedByOriginAndAnchor) {
    FillPolygon({10, 10, 50, 10});
    FillPolygon({10, 10, 50, 10, 10, 50, 60});
    EXPECT_EQ(CountColour(0, 0, 80, 80, kWhite), 0);
    SetDrawRotation(90);
    SetDrawOrigin(100, 0);
    SetDrawAnchor(-5, 0);  // corners move by +5 along local x, then turn
    FillPolygon({0, 0, 10, 0, 10, 10, 0, 10});
    EXPECT_EQ(CountColour(80, 0, 40, 30, kWhite), 100);
    EXPECT_EQ(CountColour(90, 5, 10, 10, kWhite), 100);
}

TEST_F(Primitives, ColourBytesTakeLowBitsAndAlphaIsClampedAndTruncated) {
    const auto& bytes = GLDriver().ColorBytes();
    SetDrawColor(256, 300, -1);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes[1], 44);
    EXPECT_EQ(bytes[2], 255);
    SetDrawAlpha(1.5f);
    EXPECT_EQ(bytes[3], 255);
    SetDrawAlpha(-1);
    EXPECT_EQ(bytes[3], 0);
    SetDrawAlpha(0.999f);
    EXPECT_EQ(bytes[3], 254);

    SetDrawAlpha(1);
    SetDrawColor(300, 128, 7);
    FillRect(0, 0, 4, 4);
    EXPECT_EQ(PixelAt(1, 1), 0x2C8007u);
}

// Colour (200, 50, 0) at alpha byte 127 or 153 over grey 100.
TEST_F(Primitives, BlendModesCombineWithTheBackgroundAsTabled) {
    SetClearColor(100, 100, 100);
    ClearScreen();
    SetDrawColor(200, 50, 0);
    struct Case {
        int mode;
        float alpha;
        int r, g, b;
    };
    const Case cases[] = {
        {BLEND_ALPHATEST, 0.5f, 100, 100, 100},  // 127 / 255 is below the 0.5 threshold
        {BLEND_ALPHATEST, 0.6f, 200, 50, 0},
        {BLEND_OPAQUE, 0.0f, 200, 50, 0},
        {BLEND_ALPHA, 0.5f, 150, 75, 50},
        {BLEND_ADD, 0.5f, 200, 125, 100},
        {BLEND_MULTIPLY, 0.5f, 78, 20, 0},
        {99, 0.0f, 200, 50, 0},  // no meaning: drawn opaque
    };
    int x = 0;
    for (const Case& c : cases) {
        SetBlendMode(c.mode);
        SetDrawAlpha(c.alpha);
        FillRect(x, 0, 4, 4);
        const uint32_t got = PixelAt(x + 1, 1);
        EXPECT_NEAR(Channel(got, 16), c.r, 2) << "mode " << c.mode;
        EXPECT_NEAR(Channel(got, 8), c.g, 2) << "mode " << c.mode;
        EXPECT_NEAR(Channel(got, 0), c.b, 2) << "mode " << c.mode;
        x += 10;
    }
}

TEST_F(Primitives, ClipViewportScissorsAnythingButTheFullScreen) {
    SetClipViewport(0, 0, 768, 576);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    SetClipViewport(-10, -10, 800, 600);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    SetClipViewport(10, 20, 30, 40);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    FillRect(0, 0, 768, 576);
    EXPECT_EQ(CountColour(0, 0, 100, 100, kWhite), 30 * 40);
    EXPECT_EQ(CountColour(10, 20, 30, 40, kWhite), 30 * 40);
    SetClearColor(0, 0, 255);
    ClearScreen();  // clearing is clipped too
    EXPECT_EQ(PixelAt(10, 20), 0x0000FFu);
    EXPECT_EQ(PixelAt(9, 20), kBlack);
}

TEST_F(Primitives, GrabbedRowsStartAtTheTopAndPasteBackExactly) {
    SetDrawColor(255, 0, 0);
    FillRect(30, 20, 50, 1);
    SetDrawColor(10, 200, 30);
    FillOval(40, 25, 30, 30);
    TPixmapRef grab = GrabScreenPixmap(30, 20, 50, 40);
    ASSERT_EQ(grab->width, 50);
    ASSERT_EQ(grab->height, 40);
    EXPECT_EQ(grab->GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(grab->GetPixel(0, 1) & 0xFFFFFF, kBlack);

    ClearScreen();
    SetBlendMode(BLEND_OPAQUE);
    SetRotationAndScale(30, 2, 2);  // pasting ignores the drawing transform
    SetDrawOrigin(5, 5);
    PastePixmapToScreen(grab, 30, 20);
    TPixmapRef again = GrabScreenPixmap(30, 20, 50, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) ASSERT_EQ(again->GetPixel(x, y), grab->GetPixel(x, y)) << x << "," << y;

    // Partly above and left of the window: the visible part still lands.
    ClearScreen();
    PastePixmapToScreen(grab, -10, -1);
    EXPECT_EQ(PixelAt(0, 0), grab->GetPixel(10, 1) & 0xFFFFFF);
    EXPECT_EQ(PixelAt(25, 30), grab->GetPixel(35, 31) & 0xFFFFFF);
}

}  // namespace
}  // namespace vesk::test
