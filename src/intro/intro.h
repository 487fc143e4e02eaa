// The intro: start-up, then one frame after another until Escape is hit.
// Each frame draws, back to front, the effect objects, the countdown, the
// scroller and the rippling logo, all from one time base. The steps are
// separate calls, so that whatever drives the frames (the desktop loop, the
// export, a test, a host that calls once per frame) runs the same show.
#pragma once

#include <vesk/audio/sound_driver.h>
#include "intro/effects.h"
#include "intro/material.h"
#include "intro/recording.h"
#include "intro/scroller.h"

#include <cstdint>

namespace vesk {

// Start-up: the engine's modules, the assets, the window, the music and the
// time base. The show runs once per process: false, doing nothing, when it
// has already started.
bool StartIntro();
// Draws and presents the next frame. In the recording build `sink` receives
// the frame first (the numbered PNG files when it is empty). Does nothing
// before start-up or after the end.
void RunIntroFrame(const TRecordedFrameSink& sink = nullptr);
// Ends the show: its music stops and its window closes.
void EndIntro();
// After the end, starts the show again from its start without starting the
// process again: the window, the images, the scroller, the effects with their
// random sequence, the music and the time base begin anew, while the engine,
// the assets and the music's sound stay. False, doing nothing, unless the
// show has ended. For hosts that outlive a show (a web page's "Play again").
bool ReplayIntro();

// A host's pause. While the clock is held no frame runs, and on release the
// time base leaves the held time out, so the show goes on from the frame it
// stopped at; the stepping of the scroller never sees the gap. Holding does
// nothing unless the show is running; the music is the host's to pause.
void HoldIntroClock();
void ReleaseIntroClock();
bool IntroClockHeld();

// Runs the intro once and returns 0 when Escape ends it: start-up, then a
// frame after each Escape test that finds none, then the end. A second call
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
    TChannelRef musicChannel;  // null in the recording build, which stays silent
    int32_t recordedFrames = 0;  // the number the next saved frame gets
};

const TIntroClock& IntroClock();
// Frames run so far.
uint64_t IntroFrameCount();
// The show's state, for tests and tools that watch or steer a run between
// frames.
TIntroShow& IntroShow();

}  // namespace vesk
