// The audio output in a browser: the SDL layer built into the web toolchain
// feeds Web Audio from a timer, asking for the mixer's passes (44100 Hz,
// stereo, 16-bit, 4096 frames) about 10.8 times a second.
#pragma once

#include "audio/pass_device.h"

#include <cstdint>

namespace vesk {

class webaudiodevice : public passdevice {
public:
    ~webaudiodevice() override;
    int Start() override;
    int Shutdown() override;
};

// What the page may show of the output: whether it is open, how many frames
// it has taken (0 when none was opened), and the page's pause and mute.
struct TWebAudioStatus {
    bool open = false;
    uint64_t framesHandedOver = 0;
    bool paused = false;
    bool muted = false;
};
TWebAudioStatus WebAudioStatus();

// Pausing holds the output where it stands: the page's audio clock stops, so
// what was queued waits and the mixer is asked for nothing more; resuming
// plays on from there. The setting outlasts the output and applies to the
// next one opened.
void PauseWebAudio(bool paused);
// Muting hands over silence while the mixer goes on, so the music keeps its
// place against the show.
void MuteWebAudio(bool muted);

}  // namespace vesk
