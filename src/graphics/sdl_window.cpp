// The window layer over SDL2. A windowed context is a fixed-size,
// non-resizable window whose client area is the requested size; a
// full-screen one is a borderless window that switches the display mode when
// it gains the focus and gives the desktop back, minimised, when it loses it.
#include "graphics/window.h"

#include "graphics/gl_driver.h"
#include "system/platform.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>

namespace vesk {
namespace {

// The full-screen display-mode request. A size of 0 marks a windowed context.
struct TModeRequest {
    int size = 0;
    int width = 0;
    int height = 0;
    int bits = 0;
    int frequency = 0;
    bool hasFrequency = false;
};

constexpr int kModeRequestSize = 156;

struct TContextState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool live = false;
    bool classRegistered = false;
    bool modeSwitched = false;
    bool swapIntervalFound = false;
    TModeRequest request;
    int cursorCounter = 0;
    uint64_t swaps = 0;
};

TContextState state;

// What registering the window class stands for here: the video subsystem, the
// window's class name, the window procedure and the exit hook, once per
// process.
bool RegisterWindowClass() {
    if (state.classRegistered) return true;
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClassName, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClassName, 0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    state.classRegistered = true;
    SetWindowProcedure(GLWindowProcedure);
    std::atexit(CloseGLContext);
    return true;
}

void SetPixelFormatAttributes(uint32_t flags) {
    SDL_GL_ResetAttributes();
    // The smallest request; the platform picks the nearest real format.
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (flags & CONTEXT_DOUBLE_BUFFERED) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, (flags & CONTEXT_ALPHA_BITS) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (flags & CONTEXT_DEPTH_BITS) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & CONTEXT_STENCIL_BITS) ? 1 : 0);
    const int accum = (flags & CONTEXT_ACCUM_BITS) ? 1 : 0;
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accum);
    // Immediate-mode drawing needs the compatibility profile.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

SDL_Window* CreateWindow(int width, int height, int depth, int hertz, uint32_t flags) {
    const uint32_t common = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (!(flags & CONTEXT_FULLSCREEN)) {
        state.request = {};
        return SDL_CreateWindow(kWindowTitle, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, common);
    }
    state.request = {kModeRequestSize, width, height, depth, hertz, hertz != 0};
    return SDL_CreateWindow(kFullScreenTitle, 0, 0, width, height,
                            common | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALWAYS_ON_TOP);
}

// Switches the display to the requested mode by making the window exclusive
// full screen with that mode.
bool ApplyModeRequest() {
    SDL_DisplayMode wanted{};
    wanted.w = state.request.width;
    wanted.h = state.request.height;
    wanted.refresh_rate = state.request.hasFrequency ? state.request.frequency : 0;
    SDL_DisplayMode closest{};
    const int display = SDL_GetWindowDisplayIndex(state.window);
    if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &closest)) return false;
    if (closest.w != wanted.w || closest.h != wanted.h) return false;
    if (wanted.refresh_rate && closest.refresh_rate != wanted.refresh_rate) return false;
    if (state.request.bits && SDL_BITSPERPIXEL(closest.format) != static_cast<Uint32>(state.request.bits)) return false;
    if (SDL_SetWindowDisplayMode(state.window, &closest) != 0) return false;
    return SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN) == 0;
}

void RestoreDesktopMode() {
    if (state.window) SDL_SetWindowFullscreen(state.window, 0);
}

void OnFocusGained() {
    if (state.request.size == 0 || state.modeSwitched) return;
    if (ApplyModeRequest()) {
        state.modeSwitched = true;
        return;
    }
    if (!state.request.hasFrequency) return;
    // The frequency is dropped for good; later switches ask without it.
    state.request.hasFrequency = false;
    state.request.frequency = 0;
    if (ApplyModeRequest()) state.modeSwitched = true;
}

void OnFocusLost() {
    if (state.request.size == 0 || !state.modeSwitched) return;
    RestoreDesktopMode();
    SDL_MinimizeWindow(state.window);
    state.modeSwitched = false;
}

}  // namespace

bool OpenGLContext(int width, int height, int depth, int hertz, uint32_t flags) {
    CloseGLContext();
    if (!RegisterWindowClass()) return false;
    SetPixelFormatAttributes(flags);
    state.window = CreateWindow(width, height, depth, hertz, flags);
    if (!state.window) return false;
    // Choosing the pixel format is the one checked step: no context means no
    // format the platform can give.
    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(state.window, state.context);
    state.live = true;
    state.modeSwitched = false;
    state.swapIntervalFound = true;  // SDL always offers the call; it reports whether it took
    SetSwapInterval(0);
    return true;
}

void CloseGLContext() {
    if (!state.live) return;
    SDL_GL_MakeCurrent(state.window, nullptr);
    SDL_GL_DeleteContext(state.context);
    state.context = nullptr;
    if (state.modeSwitched) RestoreDesktopMode();
    state.modeSwitched = false;
    SDL_DestroyWindow(state.window);
    state.window = nullptr;
    state.live = false;
}

void SwapGLBuffers() {
    if (!state.live) return;
    // A window's swap hands the frame's commands to the GL, but an offscreen
    // surface's swap does nothing, and a software GL would queue every frame's
    // commands without end. Flushing first keeps both the same.
    glFlush();
    SDL_GL_SwapWindow(state.window);
    ++state.swaps;
}

bool SetSwapInterval(int interval) {
    if (!state.live || !state.swapIntervalFound) return false;
    return SDL_GL_SetSwapInterval(interval) == 0;
}

void ShowSystemCursor(bool show) {
    if (!state.live) return;
    // A display counter as the desktop keeps it: shown at 0 and above. Steps
    // that leave it other than 0 or -1 are taken back, so calls never stack.
    state.cursorCounter += show ? 1 : -1;
    if (state.cursorCounter != 0 && state.cursorCounter != -1) state.cursorCounter += show ? -1 : 1;
    SDL_ShowCursor(state.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

int EnumerateDisplayModes(TDisplayModeRecord* buffer, int byteSize) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return 0;
    const int capacity = byteSize / static_cast<int>(sizeof(TDisplayModeRecord));
    int count = 0;
    for (int index = 0; count < capacity; ++index) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, index, &mode) != 0) break;
        const int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
        if (bits <= 15) continue;
        buffer[count++] = {mode.w, mode.h, bits, mode.refresh_rate};
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return count;
}

void GLWindowProcedure(const TMessage& message) {
    const bool windowed = state.request.size == 0;
    switch (message.id) {
    case WM_SETFOCUS: OnFocusGained(); break;
    case WM_KILLFOCUS: OnFocusLost(); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (windowed && state.live) SDL_CaptureMouse(SDL_TRUE);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (windowed && state.live) SDL_CaptureMouse(SDL_FALSE);
        break;
    default: break;  // paint draws nothing; a close request is ignored
    }
}

bool GLContextLive() { return state.live; }
bool GLContextFullScreen() { return state.request.size == kModeRequestSize; }
bool GLDisplayModeSwitched() { return state.modeSwitched; }
int SystemCursorCounter() { return state.cursorCounter; }
uint64_t GLSwapCount() { return state.swaps; }

// On the desktop the window layer carries an OpenGL context, so its render
// driver is the OpenGL one.
std::shared_ptr<TRenderDriver> MakePlatformRenderDriver() { return std::make_shared<TGLRenderDriver>(); }

}  // namespace vesk
