// The audio output on SDL: 44100 Hz, stereo, 16-bit, in periods of 4096
// frames. Each mixing pass goes straight into the buffer SDL is about to play,
// while SDL's other buffer plays: SDL's own buffers are the two alternating
// ones, and a play is heard from the next period to start.
#pragma once

#include "audio/pass_device.h"

#include <cstdint>

namespace vesk {

class sdlaudiodevice : public passdevice {
public:
    ~sdlaudiodevice() override;
    int Start() override;
    // Closes the SDL device, which waits for a running callback to return.
    int Shutdown() override;

    // SDL's id of the open output, for holding its thread off with SDL's lock.
    uint32_t DeviceId() const { return deviceId_; }

private:
    uint32_t deviceId_ = 0;
    bool subsystemStarted_ = false;
};

}  // namespace vesk
