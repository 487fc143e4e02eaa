// The platform driver on Windows: the thread's message queue, drained by the
// pump into the input filter and the window procedure, the system's
// millisecond clock at a 1 ms timer resolution, and the system's sleep.
#pragma once

#include <vesk/system/platform.h>

namespace vesk {

class TWin32PlatformDriver : public TPlatformDriver {
public:
    // Raises the timer resolution to 1 ms for the rest of the process.
    TWin32PlatformDriver();

    void PollEvents() override;
    void WaitEvents() override;
    uint32_t ReadClock() override;
    void SleepFor(int milliseconds) override;
    void PlaceMouse(int x, int y) override;
};

}  // namespace vesk
