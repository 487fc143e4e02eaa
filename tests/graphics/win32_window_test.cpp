// The window layer on Windows, on the system's own windows: the captioned
// fixed-size window of the engine's class with a double-buffered WGL format,
// close requests that are ignored, mouse capture and the cursor counter.
#include "graphics/window.h"
#include <vesk/graphics/graphics.h>
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include "win32_windows.h"

namespace vesk {
namespace {

using test::EngineWindow;

TEST(Win32Window, IsACaptionedFixedSizeWindowOfTheClassWithADoubleBufferedGLFormat) {
    OpenGraphics(768, 576, 0, 0);
    HWND window = EngineWindow(kWindowTitle);
    ASSERT_NE(window, nullptr);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 768);
    EXPECT_EQ(client.bottom, 576);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_SYSMENU | WS_MAXIMIZEBOX), 0);
    HDC deviceContext = GetDC(window);
    PIXELFORMATDESCRIPTOR format{};
    ASSERT_NE(DescribePixelFormat(deviceContext, GetPixelFormat(deviceContext), sizeof(format), &format), 0);
    ReleaseDC(window, deviceContext);
    EXPECT_NE(format.dwFlags & PFD_DOUBLEBUFFER, 0u);
    EXPECT_NE(format.dwFlags & PFD_SUPPORT_OPENGL, 0u);
    EXPECT_EQ(format.iPixelType, PFD_TYPE_RGBA);

    OpenGraphics(320, 200, 0, 0);
    EXPECT_FALSE(IsWindow(window)) << "reopening replaces the window";
}

TEST(Win32Window, CloseRequestsAreIgnoredAndButtonsCaptureTheMouse) {
    OpenGraphics(768, 576, 0, 0);
    HWND window = EngineWindow(kWindowTitle);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    PollEvents();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(GLContextLive());

    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, 0);
    EXPECT_EQ(GetCapture(), window);
    SendMessageA(window, WM_RBUTTONUP, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST(Win32Window, CursorCallsDoNotStack) {
    OpenGraphics(768, 576, 0, 0);
    ShowPointer();
    ShowPointer();
    EXPECT_EQ(SystemCursorCounter(), 0);
    HidePointer();
    EXPECT_EQ(SystemCursorCounter(), -1);
    ShowPointer();
    EXPECT_EQ(SystemCursorCounter(), 0);
}

}  // namespace
}  // namespace vesk
