// An audio output with no platform behind it: its caller asks for each pass.
// Serves offline rendering and lets the mixer be exercised without a sound
// card, sample by sample.
#pragma once

#include "audio/mixer_engine.h"

namespace vesk {

class manualaudiodevice : public audiodevice {
public:
    static constexpr int kSamplesPerPass = 8192;

    int Start() override {
        CreateMixer(kSamplesPerPass, 44100, 2);
        return 0;
    }

    // One pass of 4096 stereo frames into destination.
    void Render(int16_t* destination) { Mixer()->MixPass(destination); }
};

}  // namespace vesk
