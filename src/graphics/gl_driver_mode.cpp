// The OpenGL driver's mode operations: opening a context with the 2D
// projection, the refresh calibration and the paced presentation of frames.
#include "graphics/gl_driver.h"

#include <vesk/runtime/failure.h>
#include <vesk/system/platform.h>

#include <GL/gl.h>

namespace vesk {
namespace {

constexpr int kDisplayModeCapacity = 256;

std::vector<TGraphicsMode> BuildDisplayModeList() {
    std::vector<TDisplayModeRecord> records(kDisplayModeCapacity);
    const int count = EnumerateDisplayModes(records.data(), kDisplayModeCapacity * sizeof(TDisplayModeRecord));
    std::vector<TGraphicsMode> modes;
    for (int i = 0; i < count; ++i) modes.push_back({records[i].width, records[i].height, records[i].bits, records[i].frequency});
    return modes;
}

}  // namespace

uint32_t NextContextSequence(uint32_t current) { return current + 1 == 0 ? 1 : current + 1; }

TGLRenderDriver::TGLRenderDriver() : modes_(BuildDisplayModeList()) {}

void TGLRenderDriver::OpenMode(int width, int height, int depth, int hertz) {
    contextSequence_ = NextContextSequence(contextSequence_);
    pages_.Forget();  // the pages of an earlier context died with it
    uint32_t flags = CONTEXT_DOUBLE_BUFFERED | (depth != 0 ? CONTEXT_FULLSCREEN : 0);
    if (!OpenGLContext(width, height, depth, hertz, flags))
        Fail("Unable to set graphics mode", GLContextFailureReason());
    ResetStateCaches();
    width_ = width;
    height_ = height;
    depth_ = depth;
    hertz_ = hertz;
    // Origin top-left, y downwards, one unit per pixel. The fresh context's
    // projection is the identity; the viewport stays the whole client area.
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (int buffer = 0; buffer < 2; ++buffer) {  // both buffers start cleared
        glClear(GL_COLOR_BUFFER_BIT);
        SwapGLBuffers();
    }
    CalibrateRefresh(hertz);
}

// Times up to one second of synchronised swaps. Three swaps in a row that
// take one refresh period (within a millisecond) show that the display keeps
// the requested rate; otherwise frames are paced by the clock.
void TGLRenderDriver::CalibrateRefresh(int hertz) {
    pacingActive_ = false;
    SetSwapInterval(1);
    if (hertz == 0) return;
    int matches = 0;
    for (int attempt = 0; attempt < hertz; ++attempt) {
        uint32_t before = ReadClock();
        SwapGLBuffers();
        uint32_t after = ReadClock();
        int difference = static_cast<int>(after - before) - 1000 / hertz;
        if (difference >= -1 && difference <= 1) {
            if (++matches == 3) return;
        } else {
            matches = 0;
        }
    }
    pacingActive_ = true;
    pacingStart_ = ReadClock();
    SetSwapInterval(0);
}

void TGLRenderDriver::CloseMode() {
    if (GLContextLive()) Flush();
    pages_.Forget();
    batch_.Discard();
    CloseGLContext();
}

// With pacing on, frame k is due at 1000 * k / hertz ms after the schedule's
// start. A late frame, or a wait of a second or more (a stale schedule),
// restarts the schedule from now instead of catching up.
void TGLRenderDriver::PresentFrame() {
    Flush();
    if (pacingActive_ && hertz_ != 0) {
        const int64_t elapsed = static_cast<uint32_t>(ReadClock() - pacingStart_);
        pacingAccumulator_ += 1000;
        const int64_t wait = pacingAccumulator_ / hertz_ - elapsed;
        if (wait > 0 && wait < 1000) SleepFor(static_cast<int>(wait));
        else pacingAccumulator_ = elapsed * hertz_;
    }
    SwapGLBuffers();
}

void TGLRenderDriver::SetCursorVisible(bool show) { ShowSystemCursor(show); }

}  // namespace vesk
