// The SDL output. Under test SDL's dummy driver is chosen; it opens on some
// machines and not on others, and both must leave a working program.
#include "audio/mixer.h"
#include "audio/mixer_driver.h"
#include "audio/sdl_audio_device.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

namespace vesk {
namespace {

// SDL's dummy output runs the device thread at the real pace without a sound
// card; a driver chosen from outside is kept.
void PreferDummyOutput() { setenv("SDL_AUDIODRIVER", "dummy", 0); }

TEST(SdlAudioOutput, MixerModuleInstallsTheMixerDriverOnlyWhenTheOutputOpens) {
    PreferDummyOutput();
    InitMixerModule();
    const bool open = CurrentMixer() != nullptr;
    EXPECT_EQ(dynamic_cast<TMixerDriver*>(&SoundDriver()) != nullptr, open);
    if (!open) GTEST_SKIP() << "no audio output on this machine";

    // A short sound ends once the device's thread has mixed past it.
    auto sample = CreateSample(100, 44100, SampleStereo16LE);
    std::fill(sample->samples, sample->samples + sample->capacity, 0x10);
    TChannelRef channel = StartSound(MakeSound(sample, 0));
    ASSERT_NE(channel, nullptr);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ChannelPlaying(channel) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(ChannelPlaying(channel));
}

TEST(SdlAudioOutput, OpensAt44100HzStereoAndClosesCleanly) {
    PreferDummyOutput();
    if (MixerOpen() != 0) GTEST_SKIP() << "no audio output on this machine";
    ASSERT_NE(CurrentMixer(), nullptr);
    EXPECT_EQ(CurrentMixer()->outputRate, 44100);
    EXPECT_EQ(CurrentMixer()->outputChannels, 2);
    EXPECT_EQ(CurrentMixer()->samplesPerPass, sdlaudiodevice::kSamplesPerBuffer);
    EXPECT_EQ(MixerOpen(), 0) << "already open";
    MixerClose();
    EXPECT_EQ(CurrentMixer(), nullptr);
    EXPECT_EQ(MixerAllocChannel(), 0);
    EXPECT_EQ(MixerOpen(), 0) << "opens again after a close";
    MixerClose();
}

TEST(SdlAudioOutput, UnknownDriverLeavesTheMixerClosed) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(MixerOpen(), -1);
    EXPECT_EQ(CurrentMixer(), nullptr);
}

}  // namespace
}  // namespace vesk
