// The audio output on SDL: 44100 Hz, stereo, 16-bit, fed from two alternating
// buffers of 4096 frames. Whenever SDL has taken the whole of one buffer, that
// buffer is refilled with one mixing pass while the other one plays, so the
// mixer always works one buffer ahead of what is heard.
#pragma once

#include "audio/mixer_engine.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

namespace vesk {

class sdlaudiodevice : public audiodevice {
public:
    static constexpr int kFramesPerBuffer = 4096;
    static constexpr int kSamplesPerBuffer = kFramesPerBuffer * 2;
    static constexpr int kBytesPerBuffer = kSamplesPerBuffer * 2;

    ~sdlaudiodevice() override;
    int Start() override;
    // Closes the SDL device, which waits for a running callback to return.
    int Shutdown() override;

    // SDL's audio thread: hands over len bytes of mixed output.
    void Pull(uint8_t* stream, int len);

private:
    uint32_t deviceId_ = 0;
    bool subsystemStarted_ = false;
    std::array<std::vector<int16_t>, 2> buffers_;
    // Audio thread only once started.
    int index_ = 0;  // the buffer being handed over, and refilled next
    int offset_ = 0;  // bytes of it already handed over
    std::atomic<bool> running_{false};
};

}  // namespace vesk
