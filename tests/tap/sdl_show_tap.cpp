// The show tap for the SDL build, as a library preloaded into the program
// (LD_PRELOAD): the program's calls of SDL_GetTicks, SDL_Delay and
// SDL_GL_SwapWindow come here first, and the program is ended with an
// Escape key event put into SDL's queue, which reaches it like a real key
// press. SDL's calls inside its own library are not affected.
#include "show_tap.h"

#include <SDL.h>
#include <dlfcn.h>
#include <time.h>

namespace {

using TSwapWindow = void (*)(SDL_Window*);
using TGetTicks = Uint32 (*)();
using TDelay = void (*)(Uint32);

template <typename T>
T Real(const char* name) {
    return reinterpret_cast<T>(dlsym(RTLD_NEXT, name));
}

void PressEscape() {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.scancode = SDL_SCANCODE_ESCAPE;
    event.key.keysym.sym = SDLK_ESCAPE;
    SDL_PushEvent(&event);
    event.type = SDL_KEYUP;
    event.key.state = SDL_RELEASED;
    SDL_PushEvent(&event);
}

}  // namespace

namespace vesk::tap {

std::uint64_t WallMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
}

std::uint32_t ProgramClock() {
    static const auto real = Real<TGetTicks>("SDL_GetTicks");
    return real();
}

double ProcessorSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

}  // namespace vesk::tap

extern "C" {

Uint32 SDL_GetTicks(void) { return vesk::tap::Active() ? vesk::tap::Clock() : vesk::tap::ProgramClock(); }

void SDL_Delay(Uint32 milliseconds) {
    static const auto real = Real<TDelay>("SDL_Delay");
    if (!vesk::tap::Active() || !vesk::tap::SkipSleeps()) real(milliseconds);
}

void SDL_GL_SwapWindow(SDL_Window* window) {
    static const auto real = Real<TSwapWindow>("SDL_GL_SwapWindow");
    if (!vesk::tap::Active()) return real(window);
    vesk::tap::BeforeSwap();
    real(window);
    if (vesk::tap::AfterSwap()) PressEscape();
}

}  // extern "C"
