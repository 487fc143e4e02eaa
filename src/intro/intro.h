// The intro: start-up, then one frame after another until Escape is hit.
// Each frame draws, back to front, the effect objects, the countdown, the
// scroller and the rippling logo, all from one time base.
#pragma once

#include "audio/sound_driver.h"
#include "intro/effects.h"
#include "intro/material.h"
#include "intro/scroller.h"

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

// Everything the show keeps from start-up to the end of the run.
struct TIntroShow {
    TIntroClock clock;
    TPictureRows picture;
    TGlyphTable glyphTable;
    TScroller scroller;
    TEffectList effects;
    TEffectSpawner spawner;
    TSoundRef music;
    int32_t recordedFrames = 0;  // the number the next saved frame gets
};

const TIntroClock& IntroClock();
// Frames run so far.
uint64_t IntroFrameCount();
// The show's state, for tests and tools that watch or steer a run between
// frames (from the Escape poll, which comes before every frame).
TIntroShow& IntroShow();

}  // namespace vesk
