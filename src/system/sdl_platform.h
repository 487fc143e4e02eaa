// The platform driver over SDL2: SDL's events become the window messages that
// the input filter and the window procedure read, SDL's tick count is the
// millisecond clock and SDL's delay the sleep.
#pragma once

#include <vesk/system/platform.h>

#include <SDL.h>

#include <vector>

namespace vesk {

class TSDLPlatformDriver : public TPlatformDriver {
public:
    TSDLPlatformDriver();

    void PollEvents() override;
    void WaitEvents() override;
    uint32_t ReadClock() override;
    void SleepFor(int milliseconds) override;
    void PlaceMouse(int x, int y) override;
};

// The messages that one SDL event stands for, in the order the platform
// would deliver them (a key press may add a character message).
std::vector<TMessage> TranslateSDLEvent(const SDL_Event& event);

// A key's virtual-key code, set-1 scan code and extended flag.
struct TKeyCode {
    uint32_t virtualKey = 0;
    uint32_t scanCode = 0;
    bool extended = false;
};
TKeyCode LookupSDLKey(const SDL_Keysym& key);

}  // namespace vesk
