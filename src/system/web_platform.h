// The platform driver in a web browser. The web toolchain's SDL layer turns
// the page's keyboard and mouse events into SDL events, which become the same
// window messages as on the desktop; the clock is the page's high-resolution
// clock. The browser owns the loop: a program hands it one call per frame.
#pragma once

#include <vesk/system/platform.h>

#include <functional>

namespace vesk {

class TWebPlatformDriver : public TPlatformDriver {
public:
    TWebPlatformDriver();

    void PollEvents() override;
    void WaitEvents() override;
    uint32_t ReadClock() override;
    // Gives the browser the time: the page stays alive while the program
    // waits. Zero or less still lets the browser run once.
    void SleepFor(int milliseconds) override;
    // A page cannot move the pointer; this does nothing.
    void PlaceMouse(int x, int y) override;
};

// Calls `frame` once per frame of the browser's display until it returns
// false. Returns at once; the calls come from the browser.
void RunEveryBrowserFrame(std::function<bool()> frame);
// True while such a call runs: whatever it presents, the browser shows when
// the call returns.
bool InBrowserFrame();
// Waits for the browser's next display frame (at most a quarter of a second,
// for a page in the background), letting the page run meanwhile.
void WaitForBrowserFrame();

}  // namespace vesk
