// The audio output on SDL: 44100 Hz, stereo, 16-bit, in periods of 4096
// frames. Each mixing pass goes straight into the buffer SDL is about to play,
// while SDL's other buffer plays: SDL's own buffers are the two alternating
// ones, and a play is heard from the next period to start.
#pragma once

#include <vesk/audio/mixer_engine.h>

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

    // SDL's id of the open output, for holding its thread off with SDL's lock.
    uint32_t DeviceId() const { return deviceId_; }
    // How many frames SDL has taken so far: the output's own clock.
    uint64_t FramesHandedOver() const { return framesHandedOver_.load(std::memory_order_acquire); }

private:
    uint32_t deviceId_ = 0;
    bool subsystemStarted_ = false;
    // A pass for SDL buffers that do not hold whole periods; audio thread only.
    std::vector<int16_t> partial_;
    int offset_ = 0;  // bytes of it already handed over; 0 when none is begun
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> framesHandedOver_{0};
};

}  // namespace vesk
