// The build-time choice between the delivered intro, which plays its music
// and follows the clock, and the recording build, which renders at a fixed 50
// frames per second of show time and saves every frame. Nothing switches it at
// run time.
#pragma once

#include <vesk/runtime/text.h>

#include <cstdint>
#include <functional>

#ifndef VESK_RECORD_FRAMES
#define VESK_RECORD_FRAMES 0
#endif

namespace vesk {

inline constexpr bool recordFrames = VESK_RECORD_FRAMES != 0;

// Show time per frame in the recording build: 1/50 s.
inline constexpr int kRecordFrameMs = 20;

// The file a recorded frame goes to, relative to the current directory:
// "record\image" and the number in at least five digits, with leading zeros.
Text RecordFileName(int32_t frameNumber);

// Grabs the whole back buffer and writes it as an uncompressed PNG under the
// frame's name, replacing a file of an earlier recording whole; returns
// whether it was written. A frame that cannot be saved leaves no file of its
// own, leaves an earlier file of its name as it was, and is skipped; the
// first one is reported on standard error with the reason.
bool SaveRecordedFrame(int32_t frameNumber);

// Receives each frame of the recording build after the picture rows and
// before the frame is presented, while the back buffer holds it. Tools that
// take the pixels themselves (the video export) pass one in.
using TRecordedFrameSink = std::function<void(int32_t frameNumber)>;

// Hands the frame to `sink`, or saves it as PNG when the sink is empty.
void RecordFrame(int32_t frameNumber, const TRecordedFrameSink& sink);

}  // namespace vesk
