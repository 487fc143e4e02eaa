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

// What the page may show of the output: whether it is open, and how many
// frames it has taken (0 when none was opened).
struct TWebAudioStatus {
    bool open = false;
    uint64_t framesHandedOver = 0;
};
TWebAudioStatus WebAudioStatus();

}  // namespace vesk
