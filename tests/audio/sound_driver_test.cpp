// Sounds and channels over the mixer driver, and the silent driver that
// stays when no audio output opens.
#include "audio/manual_audio_device.h"
#include <vesk/audio/mixer.h>
#include <vesk/audio/mixer_driver.h>

#include <vesk/stream/opening.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace vesk {
namespace {

std::shared_ptr<TPcmSample> Mono8(std::vector<uint8_t> bytes, int32_t hertz = 11025) {
    auto sample = CreateSample(static_cast<int32_t>(bytes.size()), hertz, SampleMono8);
    std::copy(bytes.begin(), bytes.end(), sample->samples);
    return sample;
}

// The mixer driver over a mixer whose passes the test runs.
class MixerDriverTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitAudioModule();
        auto owned = std::make_unique<manualaudiodevice>();
        device_ = owned.get();
        ASSERT_EQ(MixerOpenWith(std::move(owned)), 0);
        SetSoundDriver(std::make_shared<TMixerDriver>());
    }
    void TearDown() override { MixerClose(); }

    std::vector<int16_t> Pass() {
        std::vector<int16_t> out(manualaudiodevice::kSamplesPerPass);
        device_->Render(out.data());
        return out;
    }

    static SoundRecord& RecordOf(const TSoundRef& sound) {
        return *std::dynamic_pointer_cast<TMixerSound>(sound)->data;
    }

    static int32_t HandleOf(const TChannelRef& channel) {
        return std::dynamic_pointer_cast<TMixerChannel>(channel)->handle;
    }

    manualaudiodevice* device_ = nullptr;
};

TEST_F(MixerDriverTest, SoundHoldsItsSampleAsStereo16BitFrames) {
    TSoundRef sound = MakeSound(Mono8({0, 128, 255}), 0);
    SoundRecord& record = RecordOf(sound);
    EXPECT_EQ(record.channels, 2);
    EXPECT_EQ(record.bitsPerSample, 16);
    EXPECT_EQ(record.length, 3);
    EXPECT_EQ(record.framesPerSecond, 11025);
    EXPECT_EQ(record.loop, 0);
    const std::vector<uint8_t> expected = {0x00, 0x80, 0x00, 0x80, 0x80, 0x00, 0x80, 0x00, 0xFF, 0x7F, 0xFF, 0x7F};
    EXPECT_EQ(std::vector<uint8_t>(record.data.get(), record.data.get() + record.byteSize), expected);
    EXPECT_EQ(RecordOf(MakeSound(Mono8({1}), 2)).loop, -1);
}

TEST_F(MixerDriverTest, EachStartWithoutAChannelGivesANewChannel) {
    TSoundRef sound = MakeSound(Mono8(std::vector<uint8_t>(20000, 200)), 0);
    TChannelRef first = StartSound(sound);
    TChannelRef second = StartSound(sound);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(HandleOf(first), HandleOf(second));
    EXPECT_TRUE(ChannelPlaying(first));
}

TEST_F(MixerDriverTest, ReservedChannelIsReturnedAsItselfAndCarriesItsSettings) {
    TSoundRef sound = MakeSound(Mono8(std::vector<uint8_t>(20000, 255)), 0);
    TChannelRef channel = ReserveChannel();
    SetChannelVolume(channel, 0.5f);
    SetChannelPan(channel, -1.0f);
    EXPECT_EQ(StartSound(sound, channel), channel);
    const auto out = Pass();
    EXPECT_EQ(out[0], 32767 / 2);
    EXPECT_EQ(out[1], 0);
}

TEST_F(MixerDriverTest, CuedSoundCountsAsPlayingUntilStopped) {
    TSoundRef sound = MakeSound(Mono8(std::vector<uint8_t>(20000, 255)), 0);
    TChannelRef channel = StartSoundPaused(sound);
    EXPECT_TRUE(ChannelPlaying(channel));
    EXPECT_EQ(Pass()[0], 0);
    ResumeChannel(channel);
    EXPECT_EQ(Pass()[0], 32767);
    PauseChannel(channel);
    EXPECT_EQ(Pass()[0], 0);
    StopChannel(channel);
    EXPECT_FALSE(ChannelPlaying(channel));
}

TEST_F(MixerDriverTest, RateChangeReachesTheVoice) {
    TSoundRef sound = MakeSound(Mono8(std::vector<uint8_t>(44100, 255), 44100), 0);
    TChannelRef channel = ReserveChannel();
    SetChannelRate(channel, 10.0f);
    SetChannelDepth(channel, -1.0f);
    StartSound(sound, channel);
    const auto out = Pass();
    EXPECT_EQ(out[1], -32767);
    EXPECT_TRUE(ChannelPlaying(channel));
    Pass();
    EXPECT_FALSE(ChannelPlaying(channel)) << "44100 frames at ten times speed end within two passes";
}

TEST_F(MixerDriverTest, ChannelOfAnotherDriverPlaysNothing) {
    TSoundRef sound = MakeSound(Mono8({1, 2, 3}), 0);
    EXPECT_EQ(StartSound(sound, std::make_shared<TPlayChannel>()), nullptr);
    EXPECT_EQ(StartSoundPaused(sound, std::make_shared<TPlayChannel>()), nullptr);
    EXPECT_EQ(Pass()[0], 0);
}

TEST_F(MixerDriverTest, SoundOutlivesTheOwnerWhilePlaying) {
    TSoundRef sound = MakeSound(Mono8(std::vector<uint8_t>(20000, 255)), 0);
    TChannelRef channel = StartSound(sound);
    sound.reset();
    EXPECT_EQ(Pass()[0], 32767);
    EXPECT_TRUE(ChannelPlaying(channel));
}

TEST(SilentDriver, AcceptsEverythingAndPlaysNothing) {
    InitAudioModule();
    TSoundRef sound = MakeSound(Mono8({1, 2, 3}), 1);
    ASSERT_NE(sound, nullptr);
    TChannelRef channel = StartSound(sound);
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(StartSound(sound), channel);
    EXPECT_NE(StartSoundPaused(sound), nullptr);
    EXPECT_NE(ReserveChannel(), nullptr);
    EXPECT_EQ(SetChannelVolume(channel, 0.5f), 0);
    EXPECT_EQ(PauseChannel(channel), 0);
    EXPECT_EQ(StopChannel(channel), 0);
    EXPECT_EQ(ChannelPlaying(channel), 0);
    EXPECT_EQ(ChannelPlaying(nullptr), 0);
    EXPECT_EQ(StartSound(nullptr), nullptr);
    EXPECT_EQ(MakeSound(u"/no/such/sound.wav", 0), nullptr);
}

// Without any audio output the mixer stays closed and sounds are silent, but
// they are still read.
TEST(NoAudioOutput, SilentDriverStaysAndSoundsAreStillRead) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    InitMixerModule();
    EXPECT_EQ(dynamic_cast<TMixerDriver*>(&SoundDriver()), nullptr);
    EXPECT_EQ(MixerAllocChannel(), 0);

    std::vector<uint8_t> wav = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                                1,   0,   1,   0,   0x44, 0xAC, 0, 0, 0x44, 0xAC, 0, 0, 1, 0, 8, 0,
                                'd', 'a', 't', 'a', 2, 0, 0, 0, 10, 20};
    RegisterResource(u"\\test\\silent.wav", wav.data(), static_cast<uint32_t>(wav.size()));
    TSoundRef sound = MakeSound(u"incbin::\\test\\silent.wav", 0);
    ASSERT_NE(sound, nullptr);
    TChannelRef channel = StartSound(sound, nullptr);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(ChannelPlaying(channel), 0);
}

}  // namespace
}  // namespace vesk
