// The window layer on Windows, on the system's own windows: the captioned
// fixed-size window of the engine's class with a double-buffered WGL format,
// close requests that are ignored, mouse capture and the cursor counter.
#include "graphics/window.h"
#include <vesk/graphics/graphics.h>
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include <string>

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

// The caption reaches the window in UTF-16: an ANSI window's own text
// calls would pass it through the local code page and lose what it lacks.
// It is read as the system stores and draws it: GetWindowTextW would ask the
// window's ANSI procedure, which answers through the code page.
TEST(Win32Window, TitlesKeepEveryCharacterOnTheOpenWindowAndTheNext) {
    const std::wstring expected = L"Gr\u00FC\u00DFe \u2713";
    const auto caption = [](HWND window) {
        wchar_t text[64] = {};
        InternalGetWindowText(window, text, 64);
        return std::wstring(text);
    };
    OpenGraphics(320, 200, 0, 0);
    HWND window = EngineWindow(kWindowTitle);
    ASSERT_NE(window, nullptr);
    SetWindowTitle("Gr\u00FC\u00DFe \u2713");
    EXPECT_EQ(caption(window), expected);
    OpenGraphics(320, 200, 0, 0);
    HWND next = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND found, LPARAM result) -> BOOL {
            char className[64] = {};
            GetClassNameA(found, className, sizeof(className));
            if (std::string(className) != kWindowClassName) return TRUE;
            *reinterpret_cast<HWND*>(result) = found;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&next));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(caption(next), expected);
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
