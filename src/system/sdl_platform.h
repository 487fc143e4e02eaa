// The platform driver over SDL2: SDL's events become the window messages that
// the input filter and the window procedure read, SDL's tick count is the
// millisecond clock and SDL's delay the sleep.
#pragma once

#include <vesk/system/platform.h>
#include "system/sdl_events.h"

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

}  // namespace vesk
