// The SDL output. Under test SDL's dummy driver is chosen; it opens on some
// machines and not on others, and both must leave a working program.
#include <vesk/audio/mixer.h>
#include <vesk/audio/mixer_driver.h>
#include "audio/sdl_audio_device.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
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

// Waits (without bounding how long a loaded machine may take) until the
// device has handed SDL the given number of frames.
bool WaitForFrames(const sdlaudiodevice& output, uint64_t frames) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (output.FramesHandedOver() < frames) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct TDiskOutput {
    int64_t frames = 0;         // all the file holds
    int64_t firstSounding = -1;  // the first frame that is not silent
};

TDiskOutput ReadDiskOutput(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    TDiskOutput output{static_cast<int64_t>(bytes.size() / 4)};
    for (size_t i = 0; i + 1 < bytes.size() && output.firstSounding < 0; i += 2)
        if (bytes[i] != 0 || bytes[i + 1] != 0) output.firstSounding = static_cast<int64_t>(i / 4);
    return output;
}

// SDL's disk output writes every buffer it takes from the device to a file,
// at the pace of playback. Holding SDL's device lock keeps the device still
// while the play is made, so the periods can be counted exactly.
TEST(SdlAudioOutput, APlayIsHeardFromThePeriodAfterTheOnePlaying) {
    const std::string path = ::testing::TempDir() + "vesk_latency_" + std::to_string(getpid()) + ".raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "10", 1);  // the count of periods, not their length, matters
    auto owned = std::make_unique<sdlaudiodevice>();
    sdlaudiodevice& output = *owned;
    if (MixerOpenWith(std::move(owned)) != 0) GTEST_SKIP() << "SDL has no disk output here";
    constexpr int kPeriod = sdlaudiodevice::kFramesPerBuffer;
    ASSERT_TRUE(WaitForFrames(output, 3 * kPeriod));

    std::vector<int16_t> frames(2 * kPeriod * 2, 1000);
    SoundRecord* record = MixerCreateSound(2 * kPeriod, 16, 2, 44100, frames.data(), 0);
    SDL_LockAudioDevice(output.DeviceId());
    ASSERT_NE(MixerPlay(record, 0, 0), 0);
    const uint64_t handed = output.FramesHandedOver();
    SDL_UnlockAudioDevice(output.DeviceId());
    MixerFreeSound(record);
    ASSERT_TRUE(WaitForFrames(output, handed + 4 * kPeriod));
    output.Shutdown();  // stops SDL's thread and closes the file
    const int64_t handedInAll = static_cast<int64_t>(output.FramesHandedOver());
    MixerClose();

    const TDiskOutput disk = ReadDiskOutput(path);
    std::remove(path.c_str());
    ASSERT_GE(disk.firstSounding, 0) << "the play was never heard";
    // SDL writes silence of its own while the device is still paused, before
    // the first buffer it takes from the device.
    const int64_t heard = disk.firstSounding - (disk.frames - handedInAll);
    // The period playing when the play was made is the first; the next one to
    // start is the second.
    const int64_t playing = static_cast<int64_t>((handed - 1) / kPeriod);
    EXPECT_LE(heard / kPeriod, playing + 1) << "heard " << heard / kPeriod - playing << " periods after";
}

}  // namespace
}  // namespace vesk
