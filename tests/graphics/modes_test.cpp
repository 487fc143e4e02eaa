// A real headless window: opening, reopening and closing, the display-mode
// checks, the cursor counter and the window's answer to a close request.
#include <vesk/graphics/draw_state.h>
#include "graphics/gl_driver.h"
#include <vesk/graphics/graphics.h>
#include <vesk/runtime/failure.h>
#include <vesk/system/platform.h>

#include <SDL.h>
#include <SDL_opengl.h>
#include <gtest/gtest.h>

#include <array>

namespace vesk {
namespace {

std::array<uint8_t, 4> PixelAt(int x, int y) {
    std::array<uint8_t, 4> pixel{};
    glReadPixels(x, GetScreenHeight() - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
    return pixel;
}

TEST(GraphicsWindow, OpensAFixedSizeTitledWindowOfTheRequestedClientSize) {
    OpenGraphics(768, 576, 0, 60);
    EXPECT_TRUE(GraphicsOpen());
    EXPECT_EQ(GetScreenWidth(), 768);
    EXPECT_EQ(GetScreenHeight(), 576);
    int width, height, depth, hertz;
    GetScreenMode(width, height, depth, hertz);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(hertz, 60);

    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "VeskGL Window");
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE, 0u);
    SDL_GetWindowSize(window, &width, &height);
    EXPECT_EQ(width, 768);
    EXPECT_EQ(height, 576);
    EXPECT_FALSE(GLContextFullScreen());
}

TEST(GraphicsWindow, ReopeningReplacesTheWindowAndAdvancesTheContextSequence) {
    OpenGraphics(320, 200, 0, 0);
    const uint32_t first = GLDriver().ContextSequence();
    const Uint32 firstWindow = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    OpenGraphics(768, 576, 0, 0);
    EXPECT_EQ(GLDriver().ContextSequence(), first + 1);
    EXPECT_EQ(SDL_GetWindowFromID(firstWindow), nullptr);
    EXPECT_EQ(GetScreenWidth(), 768);

    EXPECT_EQ(NextContextSequence(41), 42u);
    EXPECT_EQ(NextContextSequence(0xFFFFFFFFu), 1u);
}

TEST(GraphicsWindow, ClosingTwiceIsHarmlessAndClearsTheSize) {
    OpenGraphics(768, 576, 0, 0);
    CloseGraphics();
    EXPECT_FALSE(GraphicsOpen());
    EXPECT_FALSE(GLContextLive());
    EXPECT_EQ(GetScreenWidth(), 0);
    EXPECT_EQ(GetScreenHeight(), 0);
    CloseGraphics();
    FlipBuffers();  // no context: nothing happens
    EXPECT_FALSE(GraphicsOpen());
}

TEST(GraphicsWindow, BothBuffersStartClearedAndClearScreenUsesTheClearColour) {
    OpenGraphics(768, 576, 0, 0);
    EXPECT_EQ(PixelAt(0, 0), (std::array<uint8_t, 4>{0, 0, 0, 255}));
    SetClearColor(10, 20, 30);
    ClearScreen();
    EXPECT_EQ(PixelAt(767, 575), (std::array<uint8_t, 4>{10, 20, 30, 255}));
}

TEST(GraphicsWindow, OpeningResetsTheDrawingState) {
    OpenGraphics(768, 576, 0, 0);
    SetDrawColor(1, 2, 3);
    SetDrawAlpha(0.25f);
    SetBlendMode(BLEND_ADD);
    SetRotationAndScale(45, 2, 3);
    SetDrawAnchor(5, 6);
    SetClipViewport(1, 2, 3, 4);
    SetLineThickness(2);
    OpenGraphics(640, 480, 0, 0);
    const TDrawState& state = DrawState();
    EXPECT_EQ(state.blendMode, BLEND_ALPHATEST);
    EXPECT_EQ(state.red + state.green + state.blue, 3 * 255);
    EXPECT_EQ(state.alpha, 1.0f);
    EXPECT_EQ(state.rotation, 0.0f);
    EXPECT_EQ(state.ix, 1.0f);
    EXPECT_EQ(state.jy, 1.0f);
    EXPECT_EQ(state.anchorX, 0.0f);
    EXPECT_EQ(state.clipWidth, 640);
    EXPECT_EQ(state.clipHeight, 480);
    EXPECT_EQ(state.lineThickness, 2.0f);  // not part of the reset
    EXPECT_EQ(GLDriver().ColorBytes(), (std::array<uint8_t, 4>{255, 255, 255, 255}));
}

TEST(DisplayModes, ZeroMatchesAnyValue) {
    const TGraphicsMode mode{1024, 768, 32, 75};
    EXPECT_TRUE(DisplayModeMatches(mode, 0, 0, 0, 0));
    EXPECT_TRUE(DisplayModeMatches(mode, 1024, 768, 0, 0));
    EXPECT_TRUE(DisplayModeMatches(mode, 0, 0, 32, 75));
    EXPECT_FALSE(DisplayModeMatches(mode, 1024, 768, 16, 0));
    // A 32-bit mode is listed as 24 bits; either request finds either.
    EXPECT_TRUE(DisplayModeMatches(mode, 1024, 768, 24, 0));
    EXPECT_TRUE(DisplayModeMatches({1024, 768, 24, 75}, 0, 0, 32, 0));
    EXPECT_FALSE(DisplayModeMatches({1024, 768, 16, 75}, 0, 0, 32, 0));
    EXPECT_FALSE(DisplayModeMatches(mode, 800, 0, 0, 0));
}

TEST(DisplayModes, AFullScreenRequestForAnUnlistedSizeFailsAndChangesNothing) {
    OpenGraphics(768, 576, 0, 60);
    const uint32_t sequence = GLDriver().ContextSequence();
    // The headless display lists no mode of 16 or more bits, so no full-screen
    // size exists; a window of any size still opens.
    EXPECT_FALSE(DisplayModeExists(640, 480, 0, 0));
    try {
        OpenGraphics(640, 480, 32, 60);
        FAIL() << "a full-screen mode that does not exist opened";
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Graphics mode does not exist");
    }
    EXPECT_TRUE(GraphicsOpen());
    EXPECT_EQ(GetScreenWidth(), 768);
    EXPECT_EQ(GLDriver().ContextSequence(), sequence);
    EXPECT_TRUE(GLContextLive());
}

TEST(DisplayModes, ListTakesOnlyModesOf16BitsOrMore) {
    InitGraphicsModule();
    for (int i = 0; i < CountDisplayModes(); ++i) {
        int width, height, depth, hertz;
        GetDisplayMode(i, width, height, depth, hertz);
        EXPECT_GE(depth, 16);
    }
    EXPECT_LE(CountDisplayModes(), 256);
}

// A driver with a display of its own: two modes, and nothing drawn.
class TTwoModeDriver : public TRenderDriver {
public:
    std::vector<TGraphicsMode> modes{{640, 480, 32, 60}, {800, 600, 16, 75}};
    int opened = 0;
    void OpenMode(int, int, int, int) override { ++opened; }
    const std::vector<TGraphicsMode>& DisplayModes() const override { return modes; }
};

TEST(DisplayModes, AreAnsweredByTheCurrentDriver) {
    auto driver = std::make_shared<TTwoModeDriver>();
    SetRenderDriver(driver);
    EXPECT_EQ(CountDisplayModes(), 2);
    int width, height, depth, hertz;
    GetDisplayMode(1, width, height, depth, hertz);
    EXPECT_EQ((std::array<int, 4>{width, height, depth, hertz}), (std::array<int, 4>{800, 600, 16, 75}));
    GetDisplayMode(2, width, height, depth, hertz);
    EXPECT_EQ(width, 0);
    EXPECT_TRUE(DisplayModeExists(640, 480, 32, 0));
    EXPECT_FALSE(DisplayModeExists(640, 480, 16, 0));
    OpenGraphics(800, 600, 16, 75);
    EXPECT_EQ(driver->opened, 1);
    EXPECT_THROW(OpenGraphics(1024, 768, 32, 60), TFailure);
    EXPECT_EQ(driver->opened, 1);
    CloseGraphics();
    // The platform's driver again, not owned here.
    SetRenderDriver(std::shared_ptr<TRenderDriver>(&PlatformRenderDriver(), [](TRenderDriver*) {}));
}

TEST(WindowBehaviour, ACloseRequestLeavesTheWindowOpen) {
    OpenGraphics(768, 576, 0, 0);
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    PollEvents();
    EXPECT_TRUE(GLContextLive());
    EXPECT_TRUE(GraphicsOpen());
}

TEST(WindowBehaviour, CursorCallsDoNotStack) {
    ShowPointer();  // no context: no effect
    EXPECT_EQ(SystemCursorCounter(), 0);
    OpenGraphics(768, 576, 0, 0);
    ShowPointer();
    ShowPointer();
    EXPECT_EQ(SystemCursorCounter(), 0);
    HidePointer();
    EXPECT_EQ(SystemCursorCounter(), -1);
    HidePointer();
    EXPECT_EQ(SystemCursorCounter(), -1);
    ShowPointer();
    EXPECT_EQ(SystemCursorCounter(), 0);
}

}  // namespace
}  // namespace vesk

namespace vesk {
namespace {

TEST(FullScreenWindow, IsABorderlessTopmostWindowThatKeepsTheDesktopWhenTheModeCannotBeSet) {
    ASSERT_TRUE(OpenGLContext(640, 480, 16, 75, CONTEXT_FULLSCREEN | CONTEXT_DOUBLE_BUFFERED));
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "VeskGL Application");
    EXPECT_NE(SDL_GetWindowFlags(window) & SDL_WINDOW_BORDERLESS, 0u);
    EXPECT_TRUE(GLContextFullScreen());
    // The headless display takes any size but only its own 24-bit format: a
    // 16-bit switch fails twice (with and without the frequency) and the
    // desktop mode stays.
    GLWindowProcedure({WM_SETFOCUS, 0, 0});
    EXPECT_FALSE(GLDisplayModeSwitched());
    GLWindowProcedure({WM_KILLFOCUS, 0, 0});
    EXPECT_TRUE(GLContextLive());
    CloseGLContext();
    EXPECT_FALSE(GLContextLive());
    EXPECT_FALSE(GLContextFullScreen() && GLContextLive());
}

}  // namespace
}  // namespace vesk
