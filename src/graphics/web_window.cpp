// The window layer in a web browser: the page's canvas with a WebGL context,
// made through the SDL layer of the web toolchain with its emulation of the
// fixed-function OpenGL. The browser shows a frame when the program hands
// control back to it, once per display refresh; a swap outside the browser's
// frame call waits for the next refresh, so timing swaps finds the display's
// interval as it does on the desktop. There are no display modes to switch,
// so none are listed, and a full-screen OpenGraphics fails as it does on a
// desktop without the mode ("Graphics mode does not exist"); a page puts its
// canvas in full screen itself, through the browser (the intro's page has a
// button and the F key for it).
#include "graphics/window.h"

#include "graphics/gl_driver.h"
#include "system/web_platform.h"

#include <SDL/SDL.h>
#include <emscripten/emscripten.h>

namespace vesk {
namespace {

struct TContextState {
    bool live = false;
    bool fullScreen = false;
    bool videoStarted = false;
    int cursorCounter = 0;
    uint64_t swaps = 0;
    std::string failureReason;
};

TContextState state;

}  // namespace

bool OpenGLContext(int width, int height, int, int, uint32_t flags) {
    CloseGLContext();
    if (!state.videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            state.failureReason = std::string("the page's video could not start: ") + SDL_GetError();
            return false;
        }
        state.videoStarted = true;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, (flags & CONTEXT_DOUBLE_BUFFERED) ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, (flags & CONTEXT_ALPHA_BITS) ? 8 : 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, (flags & CONTEXT_DEPTH_BITS) ? 16 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, (flags & CONTEXT_STENCIL_BITS) ? 8 : 0);
    if (!SDL_SetVideoMode(width, height, 32, SDL_OPENGL)) {
        state.failureReason = std::string("the page gave no WebGL context: ") + SDL_GetError();
        return false;
    }
    state.failureReason.clear();
    state.live = true;
    state.fullScreen = (flags & CONTEXT_FULLSCREEN) != 0;
    return true;
}

void CloseGLContext() {
    // The canvas keeps its context for the page's lifetime; the layer only
    // stops using it.
    state.live = false;
    state.fullScreen = false;
}

void SwapGLBuffers() {
    if (!state.live) return;
    if (!InBrowserFrame()) WaitForBrowserFrame();
    ++state.swaps;
}

bool SetSwapInterval(int interval) {
    // Frames always follow the display; only that interval is on offer.
    return state.live && interval == 1;
}

void ShowSystemCursor(bool show) {
    if (!state.live) return;
    state.cursorCounter = StepCursorCounter(state.cursorCounter, show);
    SDL_ShowCursor(state.cursorCounter >= 0 ? SDL_ENABLE : SDL_DISABLE);
}

// The page's title stands for the caption.
void SetGLWindowTitle(const std::string& title) { emscripten_set_window_title(title.c_str()); }

int EnumerateDisplayModes(TDisplayModeRecord*, int) { return 0; }

void GLWindowProcedure(const TMessage&) {}

bool GLContextLive() { return state.live; }
bool GLContextFullScreen() { return state.fullScreen; }
bool GLDisplayModeSwitched() { return false; }
int SystemCursorCounter() { return state.cursorCounter; }
uint64_t GLSwapCount() { return state.swaps; }
const std::string& GLContextFailureReason() { return state.failureReason; }

std::shared_ptr<TRenderDriver> MakePlatformRenderDriver() { return std::make_shared<TGLRenderDriver>(); }

}  // namespace vesk
