// The audio output on Windows: the wave-out device at 44100 Hz, stereo,
// 16-bit, fed from two buffers of 4096 frames (16384 bytes, about 92.9 ms).
// Each buffer the device has finished gets the next mixing pass and goes
// back to the device, strictly alternately from buffer 0, so one buffer
// always waits queued while the other plays and a play is heard within two
// buffers' time.
//
// The device reports a finished buffer through an event, and a feeder
// thread of the output's own does the mixing and the queueing: a wave-out
// callback must not call the wave-out functions, which may deadlock.
#pragma once

#include "audio/pass_device.h"

#include <atomic>
#include <memory>
#include <thread>

namespace vesk {

class winmmdevice : public passdevice {
public:
    winmmdevice();
    ~winmmdevice() override;
    // 1 when the system has no wave-out device that plays the format.
    int Start() override;
    // Stops the feeder, then resets and closes the device.
    int Shutdown() override;

    // How many buffers have gone to the device, the first two included.
    uint64_t BuffersQueued() const { return buffersQueued_.load(std::memory_order_acquire); }

private:
    struct TWaveOut;

    void Feed();
    void Queue(int index);

    std::unique_ptr<TWaveOut> wave_;
    std::thread feeder_;
    std::atomic<bool> stopping_{false};
    std::atomic<uint64_t> buffersQueued_{0};
    int next_ = 0;  // the buffer to refill next; the feeder's alone once it runs
};

}  // namespace vesk
