// The build-time choice between the delivered intro, which plays its music
// and follows the clock, and the recording build, which renders at a fixed 50
// frames per second of show time and saves every frame. Nothing switches it at
// run time.
#pragma once

#ifndef VESK_RECORD_FRAMES
#define VESK_RECORD_FRAMES 0
#endif

namespace vesk {

inline constexpr bool recordFrames = VESK_RECORD_FRAMES != 0;

// Show time per frame in the recording build: 1/50 s.
inline constexpr int kRecordFrameMs = 20;

}  // namespace vesk
