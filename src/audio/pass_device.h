// An audio output whose platform asks for sound in buffers of its own size:
// each of the mixer's passes of 4096 stereo frames of 16 bits (44100 Hz) goes
// straight into the platform's buffer when a whole one fits, and through a
// staging pass otherwise. The platform back ends open their output and call
// Pull from wherever their platform asks for more sound.
#pragma once

#include "audio/mixer_engine.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace vesk {

class passdevice : public audiodevice {
public:
    static constexpr int kOutputRate = 44100;
    static constexpr int kOutputChannels = 2;
    static constexpr int kFramesPerBuffer = 4096;
    static constexpr int kSamplesPerBuffer = kFramesPerBuffer * kOutputChannels;
    static constexpr int kBytesPerBuffer = kSamplesPerBuffer * 2;

    // Hands over len bytes of mixed output; silence once stopped.
    void Pull(uint8_t* stream, int len);

    // Fills an SDL audio request (SDL2's, or that of the web toolchain's SDL
    // layer, which has the same fields) for this output: signed 16-bit
    // little-endian samples (SDL's code `s16le`), pulled through `pull`.
    template <class Request, class PullFunction>
    void DescribeOutput(Request& request, uint16_t s16le, PullFunction pull) {
        request = Request{};
        request.freq = kOutputRate;
        request.format = s16le;
        request.channels = kOutputChannels;
        request.samples = kFramesPerBuffer;
        request.callback = pull;
        request.userdata = this;
    }

    // How many frames the platform has taken so far: the output's own clock.
    uint64_t FramesHandedOver() const { return framesHandedOver_.load(std::memory_order_acquire); }
    bool Running() const { return running_.load(std::memory_order_acquire); }

protected:
    // Makes the mixer for the output format; before the platform's output
    // starts asking.
    void PrepareMixing();
    // From now on Pull mixes; before it, and after Stop, it hands over silence.
    void BeginMixing() { running_.store(true, std::memory_order_release); }
    void StopMixing() { running_.store(false, std::memory_order_release); }

private:
    // A pass for buffers that do not hold whole passes; the pulling side only.
    std::vector<int16_t> partial_;
    int offset_ = 0;  // bytes of it already handed over; 0 when none is begun
    std::atomic<bool> running_{false};
    std::atomic<uint64_t> framesHandedOver_{0};
};

}  // namespace vesk
