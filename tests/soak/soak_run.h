// The soak run: the intro's start-up and frame loop in this process, on a
// scripted clock of 50 frames per second, watched between frames for memory
// that keeps growing and for an effect list that leaves its bounds.
#pragma once

#include <cstdint>
#include <string>

namespace vesk::soak {

struct TSoakOptions {
    int frames = 30000;
    // Memory may grow until this frame (the stars fill up, the spiral
    // starts, the scroller wraps once); after it, it must not.
    int warmupFrames = 7000;
    // Steers the show through everything in a short run: jumps the scroller
    // to its effect letters and to its end, and the clock ten minutes on.
    bool steer = false;
    // Growth allowed after the warm-up, in bytes: the heap swings by about
    // a megabyte with the spiral points. Each frame is finished in the GL
    // before the next, so its queue adds nothing.
    std::int64_t heapSlack = 4 * 1024 * 1024;
    std::int64_t residentSlack = 4 * 1024 * 1024;
};

struct TSoakReport {
    int frames = 0;
    double seconds = 0;  // wall time of the frame loop
    std::int64_t heapAtWarmup = 0;
    std::int64_t heapPeakAfter = 0;
    std::int64_t residentAtWarmup = 0;
    std::int64_t residentPeakAfter = 0;
    std::int64_t residentPeak = 0;
    int maxStars = 0;
    int maxSpiralPoints = 0;
    int maxEffectLevel = 0;
    int scrollerWraps = 0;
    std::int64_t lastElapsedMs = 0;
    bool memoryJudged = false;
    std::string failure;  // empty when every check held
};

// Runs the intro once (it runs once per process) and reports.
TSoakReport RunSoak(const TSoakOptions& options);

// The report as lines of text.
std::string Describe(const TSoakReport& report);

}  // namespace vesk::soak
