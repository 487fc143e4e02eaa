// The intro: start-up, then one frame after another until Escape is hit.
#pragma once

#include <cstdint>

namespace vesk {

// Runs the intro once and returns 0 when Escape ends it; a second call
// returns 0 at once.
int RunIntro();

// The time base of the show.
struct TIntroClock {
    uint32_t startMs = 0;   // the clock reading just before the first frame
    int64_t elapsedMs = 0;  // milliseconds since startMs; 0 before the first frame
    int32_t centis = 0;     // elapsedMs / 10, the clock of every effect
};

const TIntroClock& IntroClock();
// Frames run so far.
uint64_t IntroFrameCount();

}  // namespace vesk
