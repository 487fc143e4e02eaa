// The wave-out output. Under wine without a sound card no device opens and
// the program stays silent; scripts/windows gives the tests ALSA's null
// device, which plays at its own pace and keeps nothing.
#include <vesk/audio/mixer.h>
#include <vesk/audio/mixer_driver.h>
#include "audio/win32_audio_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace vesk {
namespace {

// Waits (without bounding how long a loaded machine may take) until the
// device has been handed the given number of buffers.
bool WaitForBuffers(const winmmdevice& output, uint64_t buffers) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (output.BuffersQueued() < buffers) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(WaveOutOutput, OpensAt44100HzStereoInPassesOfOneBufferAndClosesCleanly) {
    if (MixerOpen() != 0) GTEST_SKIP() << "no wave-out device on this machine";
    ASSERT_NE(CurrentMixer(), nullptr);
    EXPECT_EQ(CurrentMixer()->outputRate, 44100);
    EXPECT_EQ(CurrentMixer()->outputChannels, 2);
    EXPECT_EQ(CurrentMixer()->samplesPerPass, winmmdevice::kSamplesPerBuffer);
    EXPECT_EQ(winmmdevice::kBytesPerBuffer, 16384);
    MixerClose();
    EXPECT_EQ(CurrentMixer(), nullptr);
    EXPECT_EQ(MixerOpen(), 0) << "opens again after a close";
    MixerClose();
}

// Every buffer the device hands back gets a whole pass: the frames handed
// over stay a whole number of buffers, and a short sound ends once the
// feeder has mixed past it.
TEST(WaveOutOutput, FinishedBuffersAreRefilledWithWholePassesUntilASoundEnds) {
    auto owned = std::make_unique<winmmdevice>();
    winmmdevice& output = *owned;
    if (MixerOpenWith(std::move(owned)) != 0) GTEST_SKIP() << "no wave-out device on this machine";
    ASSERT_TRUE(WaitForBuffers(output, 4));

    std::vector<int16_t> frames(2 * 100, 1000);
    SoundRecord* record = MixerCreateSound(100, 16, 2, 44100, frames.data(), 0);
    const int32_t handle = MixerAllocChannel();
    ASSERT_EQ(MixerPlay(record, 0, handle), handle);
    MixerFreeSound(record);
    EXPECT_EQ(MixerStatus(handle), 2);
    const uint64_t queued = output.BuffersQueued();
    ASSERT_TRUE(WaitForBuffers(output, queued + 3));
    EXPECT_EQ(MixerStatus(handle), 1) << "the sound has played to its end";

    output.Shutdown();
    const uint64_t buffers = output.BuffersQueued();
    EXPECT_EQ(output.FramesHandedOver(), buffers * winmmdevice::kFramesPerBuffer);
    EXPECT_FALSE(output.Running());
    MixerClose();
}

}  // namespace
}  // namespace vesk
