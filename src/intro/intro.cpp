#include "intro/intro.h"

#include "graphics/draw_state.h"
#include "graphics/gl_driver.h"
#include "graphics/graphics.h"
#include "intro/recording.h"
#include "runtime/startup.h"
#include "system/platform.h"

namespace vesk {
namespace {

constexpr int kScreenWidth = 768;
constexpr int kScreenHeight = 576;
constexpr int kRefreshHertz = 60;

TIntroClock introClock;
uint64_t frameCount = 0;

void InitEngine() {
    InitRuntimeModule();
    InitSystemModule();
    InitGraphicsModule();
}

void StartUp() {
    InitEngine();
    OpenGraphics(kScreenWidth, kScreenHeight, 0, kRefreshHertz);
    introClock.startMs = ReadClock();
    introClock.elapsedMs = 0;
}

void AdvanceClock() {
    if constexpr (recordFrames) {
        introClock.elapsedMs += kRecordFrameMs;
    } else {
        // The unsigned difference stays right across a wrap of the clock.
        introClock.elapsedMs = static_cast<uint32_t>(ReadClock() - introClock.startMs);
    }
    introClock.centis = static_cast<int32_t>(introClock.elapsedMs / 10);
}

void RunFrame() {
    ClearScreen();
    AdvanceClock();
    FlipBuffers();
    ++frameCount;
}

}  // namespace

int RunIntro() {
    static bool started = false;
    if (started) return 0;
    started = true;
    StartUp();
    // Asking for Escape pumps the window's messages, which keeps the window
    // responsive between frames.
    while (TakeKeyHits(VK_ESCAPE) == 0) RunFrame();
    return 0;
}

const TIntroClock& IntroClock() { return introClock; }
uint64_t IntroFrameCount() { return frameCount; }

}  // namespace vesk
