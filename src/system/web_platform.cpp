#include "system/web_platform.h"

#include "system/sdl_events.h"

#include <emscripten.h>

#include <utility>

// The page's display frame, or a quarter of a second when the page is hidden
// and the browser holds its frames back.
EM_ASYNC_JS(void, AwaitBrowserFrame, (), {
    await new Promise(resolve => {
        const timer = setTimeout(resolve, 250);
        requestAnimationFrame(() => { clearTimeout(timer); resolve(); });
    });
});

namespace vesk {
namespace {

std::function<bool()> everyFrame;
bool inFrame = false;

void RunBrowserFrame() {
    inFrame = true;
    const bool goOn = everyFrame();
    inFrame = false;
    if (!goOn) {
        emscripten_cancel_main_loop();
        everyFrame = nullptr;
    }
}

}  // namespace

TWebPlatformDriver::TWebPlatformDriver() {
    SDL_Init(0);
    // With text input on, the SDL layer leaves the browser's own keys (full
    // screen among them) to the browser and reports typed characters.
    SDL_StartTextInput();
    SetTimerResolutionRaised(true);
}

void TWebPlatformDriver::PollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        for (const TMessage& message : TranslateSDLEvent(event)) DeliverMessage(message);
}

void TWebPlatformDriver::WaitEvents() {
    while (!SDL_PollEvent(nullptr)) emscripten_sleep(10);
    PollEvents();
}

uint32_t TWebPlatformDriver::ReadClock() {
    // Milliseconds since the page started; wraps like any 32-bit tick count.
    return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now()));
}

void TWebPlatformDriver::SleepFor(int milliseconds) { emscripten_sleep(milliseconds > 0 ? milliseconds : 0); }

void TWebPlatformDriver::PlaceMouse(int, int) {}

std::shared_ptr<TPlatformDriver> MakePlatformDriver() { return std::make_shared<TWebPlatformDriver>(); }

void RunEveryBrowserFrame(std::function<bool()> frame) {
    everyFrame = std::move(frame);
    emscripten_set_main_loop(RunBrowserFrame, 0, 0);
}

bool InBrowserFrame() { return inFrame; }

void WaitForBrowserFrame() { AwaitBrowserFrame(); }

}  // namespace vesk
