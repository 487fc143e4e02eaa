// The window layer over SDL2. A windowed context is a fixed-size,
// non-resizable window whose client area is the requested size; a
// full-screen one is a borderless window that switches the display mode when
// it gains the focus and gives the desktop back, minimised, when it loses it.
#include "graphics/window.h"

#include "graphics/gl_driver.h"
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

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
// How long a new full-screen window waits for the focus it asked for.
constexpr Uint32 kFocusWaitMs = 3000;

struct TContextState {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool live = false;
    bool classRegistered = false;
    bool modeSwitched = false;
    bool focusSeen = false;  // the window procedure has had a focus gain
    bool swapIntervalFound = false;
    TModeRequest request;
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

// SDL falls back to these when it reaches no display, and a window on them is
// seen by nobody: the program would run on where it can only be killed.
bool ShowsNothing(const char* driver) {
    for (const char* invisible : {"offscreen", "dummy", "evdev"})
        if (SDL_strcasecmp(driver, invisible) == 0) return true;
    return false;
}

// True when SDL_VIDEODRIVER, a driver name or a comma-separated list of them,
// names the driver: then running unseen is what was asked for.
bool AskedForByName(const char* driver) {
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    std::string_view rest = asked ? asked : "";
    for (;;) {
        const size_t comma = rest.find(',');
        if (SDL_strcasecmp(std::string(rest.substr(0, comma)).c_str(), driver) == 0) return true;
        if (comma == std::string_view::npos) return false;
        rest.remove_prefix(comma + 1);
    }
}

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Without a display named there is only one thing to say; with one, what
// went wrong with it.
std::string NoDisplayReason(const std::string& detail) {
    const char* x = Variable("DISPLAY");
    const char* wayland = Variable("WAYLAND_DISPLAY");
    if (!x && !wayland) return "no display: set DISPLAY or WAYLAND_DISPLAY";
    return "no display could be reached at " + std::string(x ? x : wayland) + ": " + detail;
}

// The drivers SDL would try, in its own order, less the window systems whose
// display is not named: probing one that nobody pointed at only prints that
// system's complaints before the documented lines.
std::string DriversWorthTrying() {
    std::string list;
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const char* driver = SDL_GetVideoDriver(i);
        if (SDL_strcasecmp(driver, "x11") == 0 && !Variable("DISPLAY")) continue;
        if (SDL_strcasecmp(driver, "wayland") == 0 && !Variable("WAYLAND_DISPLAY")) continue;
        if (!list.empty()) list += ',';
        list += driver;
    }
    return list;
}

// Settings SDL reads when the video subsystem starts.
void PrepareVideo() {
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClassName, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClassName, 0);
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // A driver named by the user is the user's choice.
    if (!Variable("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, DriversWorthTrying().c_str());
}

// The video subsystem starts once and stays started until the process ends:
// the display-mode list and the window share one connection to the display.
// Letting go of it in between would leave a display whose only client this
// program was free to reset, or to end, just as the window connects again.
bool InitVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    PrepareVideo();
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// One attempt; on failure `detail` says what went wrong with the display.
bool TryStartVideo(std::string& detail) {
    if (!InitVideo()) {
        detail = std::string("the video system did not start (") + SDL_GetError() + ")";
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || !ShowsNothing(driver) || AskedForByName(driver)) return true;
    detail = std::string("only the ") + driver + " video driver, which shows nothing, was left (set SDL_VIDEODRIVER=" +
             driver + " to run unseen)";
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

// An X server resets when its last client leaves, and drops the connections
// it is setting up meanwhile: a program started right after another one
// ended can meet that moment. So a named X display that does not answer is
// asked again for about a second, once per process.
constexpr Uint32 kRetryDelaysMs[] = {20, 40, 80, 160, 320, 480};
bool retriesSpent = false;

// Starts the video subsystem on a driver that shows something, or says why not.
bool StartVideo() {
    std::string detail;
    if (TryStartVideo(detail)) return true;
    if (!retriesSpent && Variable("DISPLAY")) {
        for (Uint32 delay : kRetryDelaysMs) {
            SDL_Delay(delay);
            if (TryStartVideo(detail)) return true;
        }
    }
    retriesSpent = true;
    return Failed(NoDisplayReason(detail));
}

// What registering the window class stands for here: the video subsystem, the
// window's class name, the window procedure and the exit hook, once per
// process.
bool RegisterWindowClass() {
    if (state.classRegistered) return true;
    if (!StartVideo()) return false;
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
        return SDL_CreateWindow(state.title.value_or(kWindowTitle).c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height, common);
    }
    state.request = {kModeRequestSize, width, height, depth, hertz, hertz != 0};
    return SDL_CreateWindow(state.title.value_or(kFullScreenTitle).c_str(), 0, 0, width, height,
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
    if (state.request.bits && !SameDepth(static_cast<int>(SDL_BITSPERPIXEL(closest.format)), state.request.bits))
        return false;
    if (SDL_SetWindowDisplayMode(state.window, &closest) != 0) return false;
    return SDL_SetWindowFullscreen(state.window, SDL_WINDOW_FULLSCREEN) == 0;
}

void LeaveFullScreen() {
    if (state.window) SDL_SetWindowFullscreen(state.window, 0);
}

void RestoreDesktopMode() {
    LeaveFullScreen();
    RemoveSignalUndo(LeaveFullScreen);
    SetSignalEndingDeferred(false);
}

// While the mode is switched, a termination signal ends the program through
// the exit handlers, which give the desktop its mode back; a fault, an abort
// or a program that no longer pumps its messages gives it back from the
// signal handler.
void MarkSwitched() {
    state.modeSwitched = true;
    SetSignalEndingDeferred(true);
    AddSignalUndo(LeaveFullScreen);
}

void OnFocusGained() {
    state.focusSeen = true;
    if (state.request.size == 0 || state.modeSwitched) return;
    if (ApplyModeRequest()) {
        MarkSwitched();
        return;
    }
    if (!state.request.hasFrequency) return;
    // The frequency is dropped for good; later switches ask without it.
    state.request.hasFrequency = false;
    state.request.frequency = 0;
    if (ApplyModeRequest()) MarkSwitched();
}

// A full-screen window gains the focus, and so switches the mode, while it is
// being made: the clearing swaps and the refresh calibration that follow run
// on the requested mode. SDL reports the focus as an event, so the window
// asks for it and the messages are pumped until the window procedure has
// seen it. A desktop that withholds the focus leaves the switch to the focus
// gain whenever it comes, after a bounded wait.
void SwitchOnCreation() {
    SDL_RaiseWindow(state.window);
    const Uint32 start = SDL_GetTicks();
    while (!state.focusSeen && SDL_GetTicks() - start < kFocusWaitMs) {
        PollEvents();
        if (state.focusSeen) break;
        // A driver that gives the focus without an event has it already.
        if (SDL_GetWindowFlags(state.window) & SDL_WINDOW_INPUT_FOCUS) OnFocusGained();
        else SDL_Delay(5);
    }
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
    if (!state.window) return Failed(std::string("the window could not be made: ") + SDL_GetError());
    // Choosing the pixel format is the one checked step: no context means no
    // format the platform can give.
    state.context = SDL_GL_CreateContext(state.window);
    if (!state.context) {
        const std::string error = SDL_GetError();
        SDL_DestroyWindow(state.window);
        state.window = nullptr;
        return Failed("no OpenGL context with the pixel format asked for: " + error);
    }
    state.failureReason.clear();
    SDL_GL_MakeCurrent(state.window, state.context);
    state.live = true;
    state.modeSwitched = false;
    state.focusSeen = false;
    state.swapIntervalFound = true;  // SDL always offers the call; it reports whether it took
    SetSwapInterval(0);
    if (flags & CONTEXT_FULLSCREEN) SwitchOnCreation();
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
    state.cursorCounter = StepCursorCounter(state.cursorCounter, show);
    SDL_ShowCursor(state.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

void SetGLWindowTitle(const std::string& title) {
    state.title = title;
    if (state.window) SDL_SetWindowTitle(state.window, title.c_str());
}

int EnumerateDisplayModes(TDisplayModeRecord* buffer, int byteSize) {
    if (!StartVideo()) return 0;
    const int capacity = byteSize / static_cast<int>(sizeof(TDisplayModeRecord));
    int count = 0;
    for (int index = 0; count < capacity; ++index) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, index, &mode) != 0) break;
        const int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
        if (bits <= 15) continue;
        buffer[count++] = {mode.w, mode.h, bits, mode.refresh_rate};
    }
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
const std::string& GLContextFailureReason() { return state.failureReason; }

// On the desktop the window layer carries an OpenGL context, so its render
// driver is the OpenGL one.
std::shared_ptr<TRenderDriver> MakePlatformRenderDriver() { return std::make_shared<TGLRenderDriver>(); }

}  // namespace vesk
