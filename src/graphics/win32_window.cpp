// The window layer on Windows: a window of the class "VeskGL Window Class"
// with a WGL context on the smallest pixel format the request allows. A
// windowed context is a captioned, fixed-size window whose client area is the
// requested size; a full-screen one is a topmost popup that switches the
// display mode while it has the focus, and gives the desktop its mode back,
// minimised, when it loses it.
#include "graphics/window.h"

#include "graphics/gl_driver.h"
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "system/win32_api.h"
#include <GL/gl.h>

namespace vesk {
namespace {

constexpr DWORD kWindowedStyle = WS_CAPTION | WS_VISIBLE;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
// The display-mode record's size, which also tells a full-screen context
// (the request carries it) from a windowed one (0).
constexpr WORD kModeRequestSize = sizeof(DEVMODEA);
static_assert(kModeRequestSize == 156);

using TSwapIntervalCall = BOOL(WINAPI*)(int interval);

struct TContextState {
    HWND window = nullptr;
    HDC deviceContext = nullptr;
    HGLRC glContext = nullptr;
    bool live = false;
    bool classRegistered = false;
    // Written by the window procedure and read by the ending cleanup, which
    // may run on another thread when the process ends at once.
    volatile bool modeSwitched = false;
    DEVMODEA request{};
    TSwapIntervalCall swapInterval = nullptr;
    int cursorCounter = 0;
    uint64_t swaps = 0;
    std::string failureReason;
    std::optional<std::string> title;  // the program's, in place of the defaults
};

TContextState state;

bool Failed(const std::string& reason) {
    state.failureReason = reason;
    return false;
}

// What the system said about the last call, in parentheses, or nothing when
// it said nothing.
std::string SystemErrorText(DWORD error) {
    if (error == 0) return {};
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string said = length ? std::string(text, length) : std::string();
    LocalFree(text);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == '.')) said.pop_back();
    return " (error " + std::to_string(error) + (said.empty() ? "" : ": " + said) + ")";
}

// The way back to the desktop's own mode after a temporary switch.
// For a process that ends at once: nothing of the window is touched, only
// the mode, which would otherwise outlive the process.
void RestoreDesktopModeAtOnce() {
    if (state.modeSwitched) ChangeDisplaySettingsA(nullptr, 0);
}

void RestoreDesktopMode() {
    ChangeDisplaySettingsA(nullptr, 0);
    state.modeSwitched = false;
    RemoveSignalUndo(RestoreDesktopModeAtOnce);
    SetSignalEndingDeferred(false);
}

// While the mode is switched, a console control event ends the program
// through the exit handlers, which close the window and give the desktop
// its mode back; a fault, an abort or a program that no longer pumps gives
// the mode back as it ends.
bool SwitchDisplayMode() {
    if (ChangeDisplaySettingsA(&state.request, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) return false;
    state.modeSwitched = true;
    SetSignalEndingDeferred(true);
    AddSignalUndo(RestoreDesktopModeAtOnce);
    return true;
}

void OnFocusGained() {
    if (state.request.dmSize == 0 || state.modeSwitched) return;
    if (SwitchDisplayMode() || !(state.request.dmFields & DM_DISPLAYFREQUENCY)) return;
    // The frequency is dropped for good; later switches ask without it.
    state.request.dmFields &= ~DM_DISPLAYFREQUENCY;
    state.request.dmDisplayFrequency = 0;
    SwitchDisplayMode();
}

void OnFocusLost() {
    if (state.request.dmSize == 0 || !state.modeSwitched) return;
    RestoreDesktopMode();
    if (state.window) ShowWindow(state.window, SW_MINIMIZE);
}

bool HandledByWindowProcedure(UINT id) {
    switch (id) {
    case WM_SETFOCUS: case WM_KILLFOCUS: case WM_PAINT: case WM_CLOSE:
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    // The focus arrives while the window is still being made, before
    // CreateWindowEx has returned its handle.
    if (id == WM_NCCREATE) state.window = window;
    if (!HandledByWindowProcedure(id)) return DefWindowProcA(window, id, wParam, lParam);
    GLWindowProcedure({id, static_cast<uint32_t>(wParam), static_cast<uint32_t>(lParam)});
    return 0;
}

// Once per process: the class, the window procedure for messages that the
// engine delivers itself (tests inject them) and the exit hook.
bool RegisterWindowClass() {
    if (state.classRegistered) return true;
    WNDCLASSA windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClassName;
    if (!RegisterClassA(&windowClass))
        return Failed("the window class could not be registered" + SystemErrorText(GetLastError()));
    state.classRegistered = true;
    SetWindowProcedure(GLWindowProcedure);
    std::atexit(CloseGLContext);
    return true;
}

HWND CreateDesktopWindow(int width, int height) {
    state.request = {};
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, kWindowedStyle, FALSE, 0);
    return CreateWindowExA(0, kWindowClassName, kWindowTitle, kWindowedStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                           outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// The mode itself is switched by the window procedure when the window gains
// the focus, which it does while it is being made.
HWND CreateFullScreenWindow(int width, int height, int depth, int hertz) {
    state.request = {};
    state.request.dmSize = kModeRequestSize;
    state.request.dmPelsWidth = static_cast<DWORD>(width);
    state.request.dmPelsHeight = static_cast<DWORD>(height);
    state.request.dmBitsPerPel = static_cast<DWORD>(depth);
    state.request.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (hertz != 0) {
        state.request.dmDisplayFrequency = static_cast<DWORD>(hertz);
        state.request.dmFields |= DM_DISPLAYFREQUENCY;
    }
    return CreateWindowExA(WS_EX_TOPMOST, kWindowClassName, kFullScreenTitle, kFullScreenStyle, 0, 0, width, height,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The smallest request: the system picks the nearest format it has.
PIXELFORMATDESCRIPTOR DescribePixelFormat(uint32_t flags) {
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof(descriptor);
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (flags & CONTEXT_DOUBLE_BUFFERED) descriptor.dwFlags |= PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    descriptor.cColorBits = 1;
    descriptor.cAlphaBits = (flags & CONTEXT_ALPHA_BITS) ? 1 : 0;
    descriptor.cDepthBits = (flags & CONTEXT_DEPTH_BITS) ? 1 : 0;
    descriptor.cStencilBits = (flags & CONTEXT_STENCIL_BITS) ? 1 : 0;
    descriptor.cAccumBits = (flags & CONTEXT_ACCUM_BITS) ? 1 : 0;
    return descriptor;
}

// The caption the program chose, in UTF-16. The window's class is an ANSI
// one, whose procedure would pass a caption through the local code page; the
// default procedure's wide form keeps every character as given.
void ShowTitle() {
    if (!state.window || !state.title) return;
    const std::string& utf8 = *state.title;
    std::wstring wide(utf8.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    wide.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    DefWindowProcW(state.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void DestroyContextWindow() {
    if (state.modeSwitched) RestoreDesktopMode();
    if (state.window) DestroyWindow(state.window);
    state.window = nullptr;
    state.deviceContext = nullptr;
}

// Choosing the format is the check the system offers for whether the window
// can have OpenGL at all. Setting it, making the context and making it
// current are checked too: drawing without a current context would draw
// nothing and say nothing.
bool BindGLContext(uint32_t flags) {
    const PIXELFORMATDESCRIPTOR descriptor = DescribePixelFormat(flags);
    state.deviceContext = GetDC(state.window);
    const int format = ChoosePixelFormat(state.deviceContext, &descriptor);
    if (format == 0)
        return Failed("no pixel format with OpenGL for the window" + SystemErrorText(GetLastError()));
    if (!SetPixelFormat(state.deviceContext, format, &descriptor))
        return Failed("the window refused its pixel format" + SystemErrorText(GetLastError()));
    state.glContext = wglCreateContext(state.deviceContext);
    if (!state.glContext)
        return Failed("no OpenGL context with the pixel format asked for" + SystemErrorText(GetLastError()));
    if (wglMakeCurrent(state.deviceContext, state.glContext)) return true;
    const DWORD error = GetLastError();
    wglDeleteContext(state.glContext);
    state.glContext = nullptr;
    return Failed("the OpenGL context could not be made current" + SystemErrorText(error));
}

}  // namespace

bool OpenGLContext(int width, int height, int depth, int hertz, uint32_t flags) {
    CloseGLContext();
    if (!RegisterWindowClass()) return false;
    state.window = nullptr;
    HWND window = (flags & CONTEXT_FULLSCREEN) ? CreateFullScreenWindow(width, height, depth, hertz)
                                               : CreateDesktopWindow(width, height);
    if (!window) {
        const DWORD error = GetLastError();
        DestroyContextWindow();
        return Failed("the window could not be made" + SystemErrorText(error));
    }
    state.window = window;
    ShowTitle();
    if (!BindGLContext(flags)) {
        DestroyContextWindow();
        return false;
    }
    state.failureReason.clear();
    state.live = true;
    // Looked up through the context: absent when the driver lacks the
    // extension, and then the calibration paces by the clock.
    state.swapInterval =
        reinterpret_cast<TSwapIntervalCall>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    SetSwapInterval(0);
    return true;
}

void CloseGLContext() {
    if (!state.live) return;
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(state.glContext);
    state.glContext = nullptr;
    state.live = false;
    state.swapInterval = nullptr;
    DestroyContextWindow();
}

void SetGLWindowTitle(const std::string& title) {
    state.title = title;
    ShowTitle();
}

void SwapGLBuffers() {
    if (!state.live) return;
    SwapBuffers(state.deviceContext);
    ++state.swaps;
}

bool SetSwapInterval(int interval) {
    if (!state.live || !state.swapInterval) return false;
    return state.swapInterval(interval) != FALSE;
}

void ShowSystemCursor(bool show) {
    if (!state.live) return;
    int counter = ShowCursor(show ? TRUE : FALSE);
    if (counter != 0 && counter != -1) counter = ShowCursor(show ? FALSE : TRUE);
    state.cursorCounter = counter;
}

int EnumerateDisplayModes(TDisplayModeRecord* buffer, int byteSize) {
    const int capacity = byteSize / static_cast<int>(sizeof(TDisplayModeRecord));
    int count = 0;
    DEVMODEA mode{};
    mode.dmSize = kModeRequestSize;
    for (DWORD index = 0; count < capacity && EnumDisplaySettingsA(nullptr, index, &mode); ++index) {
        if (mode.dmBitsPerPel <= 15) continue;
        buffer[count++] = {static_cast<int32_t>(mode.dmPelsWidth), static_cast<int32_t>(mode.dmPelsHeight),
                           static_cast<int32_t>(mode.dmBitsPerPel), static_cast<int32_t>(mode.dmDisplayFrequency)};
    }
    return count;
}

void GLWindowProcedure(const TMessage& message) {
    const bool windowed = state.request.dmSize == 0;
    switch (message.id) {
    case WM_SETFOCUS: OnFocusGained(); break;
    case WM_KILLFOCUS: OnFocusLost(); break;
    case WM_PAINT:
        if (state.window) ValidateRect(state.window, nullptr);  // the frames draw everything
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (windowed && state.window) SetCapture(state.window);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (windowed && state.window) ReleaseCapture();
        break;
    default: break;  // a close request is ignored
    }
}

bool GLContextLive() { return state.live; }
bool GLContextFullScreen() { return state.request.dmSize == kModeRequestSize; }
bool GLDisplayModeSwitched() { return state.modeSwitched; }
int SystemCursorCounter() { return state.cursorCounter; }
uint64_t GLSwapCount() { return state.swaps; }
const std::string& GLContextFailureReason() { return state.failureReason; }

// The window layer carries an OpenGL context, so the render driver is the
// OpenGL one.
std::shared_ptr<TRenderDriver> MakePlatformRenderDriver() { return std::make_shared<TGLRenderDriver>(); }

}  // namespace vesk
