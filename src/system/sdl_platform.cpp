#include "system/sdl_platform.h"

#include <cstdlib>

namespace vesk {

TSDLPlatformDriver::TSDLPlatformDriver() {
    // The engine turns fatal signals into its own failures; SDL must not
    // install handlers that would swallow an interrupt.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_InitSubSystem(SDL_INIT_TIMER | SDL_INIT_EVENTS);
    // The scheduler's sleep is already fine-grained here; the flag records
    // that the process runs with millisecond timing until it exits.
    SetTimerResolutionRaised(true);
    std::atexit([] { SetTimerResolutionRaised(false); });
}

void TSDLPlatformDriver::PollEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        for (const TMessage& message : TranslateSDLEvent(event)) DeliverMessage(message);
}

void TSDLPlatformDriver::WaitEvents() {
    SDL_WaitEvent(nullptr);
    PollEvents();
}

uint32_t TSDLPlatformDriver::ReadClock() { return SDL_GetTicks(); }

void TSDLPlatformDriver::SleepFor(int milliseconds) {
    if (milliseconds > 0) SDL_Delay(static_cast<Uint32>(milliseconds));
}

std::shared_ptr<TPlatformDriver> MakePlatformDriver() { return std::make_shared<TSDLPlatformDriver>(); }

void TSDLPlatformDriver::PlaceMouse(int x, int y) {
    // Only the window that has the keyboard focus counts as active.
    if (SDL_Window* window = SDL_GetKeyboardFocus()) SDL_WarpMouseInWindow(window, x, y);
}

}  // namespace vesk
