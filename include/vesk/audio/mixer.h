// The software mixer's handle-based interface, used by the mixer driver.
// Sounds are reference-counted records with their own copy of the frames;
// channels are 32-bit handles whose upper bits carry a generation, so a
// handle stops resolving once its slot has been given back. Every function
// but MixerOpen does nothing and returns 0 (MixerPlay: the handle passed in)
// while the mixer is closed or when a handle does not resolve. All of them
// run on the main thread.
#pragma once

#include <cstdint>

namespace vesk {

struct SoundRecord;
struct StreamRecord;

// 0 on success, -1 when no audio output can be started.
int MixerOpen();
// Stops the output and frees the mixer; runs at process exit.
int MixerClose();

// A new record holding a copy of length frames (when frames is not null),
// or null while the mixer is closed or the size is not representable.
SoundRecord* MixerCreateSound(int32_t length, int32_t bits, int32_t channels, int32_t hertz, const void* frames,
                              int32_t loop);
// Drops one reference; the frames go with the last one.
int MixerFreeSound(SoundRecord* record);

// Plays a record on the given handle (0 for a fire-and-forget play on a new
// handle), paused when the flag is non-zero. Returns the handle the voice
// plays on: 0 when no handle was free, or when the play is refused (a
// record the mixer cannot play, or too many plays queued since the last pass).
int32_t MixerPlay(SoundRecord* record, int paused, int32_t handle);
// Plays a streamed sound's play as MixerPlay plays a record. Returns the
// handle, or 0 when nothing plays: the mixer is closed, the handle does not
// resolve, or the play is refused. A voice holds the stream until it stops
// or ends, and then sets the stream's released flag.
int32_t MixerPlayStream(StreamRecord* stream, int paused, int32_t handle);
// A handle for the program to keep, or 0 when all 4095 are in use.
int32_t MixerAllocChannel();

// The state of the handle's voice: 0 finished, 1 stopped, 2 playing once,
// 4 looping, plus 16 while paused.
int MixerStatus(int32_t handle);
int MixerStop(int32_t handle);
int MixerPause(int32_t handle, int flag);
// Volume, pan and depth are reals with 1.0 as unity (pan -1 left to 1
// right; of depth only the sign counts); rate 1.0 is normal speed.
int MixerSetVolume(int32_t handle, float volume);
int MixerSetPan(int32_t handle, float pan);
int MixerSetDepth(int32_t handle, float depth);
int MixerSetRate(int32_t handle, float rate);

}  // namespace vesk
