// Streamed sounds on a mixer the test drives pass by pass, fed by hand: they
// sound as their frames would from a record, keep their time through
// missing frames, and end cleanly whatever their source does.
#include "mixer_fixture.h"

#include "audio/stream_feeder.h"
#include "support/temp_folder.h"
#include <vesk/audio/mixer_driver.h>
#include <vesk/audio/sound_stream.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace vesk::testing {
namespace {

// Frame f of every test source: distinct, and never silent.
int16_t ValueOf(int64_t frame, int side) {
    const auto value = static_cast<int16_t>(1 + frame % 20000);
    return side == 0 ? value : static_cast<int16_t>(-value);
}

std::vector<int16_t> SourceFrames(int64_t first, int64_t count) {
    std::vector<int16_t> frames;
    for (int64_t f = first; f < first + count; ++f) {
        frames.push_back(ValueOf(f, 0));
        frames.push_back(ValueOf(f, 1));
    }
    return frames;
}

// A generator of the frames above that breaks at frame `breakAt`: by
// throwing, or by giving fewer frames than asked.
TSoundGenerator Generator(int64_t breakAt = -1, bool throwAtBreak = false) {
    return [=](int16_t* frames, int32_t count, int64_t first) -> int32_t {
        int64_t made = count;
        if (breakAt >= 0 && first + count > breakAt) {
            if (throwAtBreak) throw std::runtime_error("the generator fails");
            made = std::max<int64_t>(breakAt - first, 0);
        }
        const auto values = SourceFrames(first, made);
        std::copy(values.begin(), values.end(), frames);
        return static_cast<int32_t>(made);
    };
}

// A WAV file of 16-bit stereo frames from the source above.
void WriteWav(const std::filesystem::path& path, int64_t frames) {
    const auto data = SourceFrames(0, frames);
    const uint32_t bytes = static_cast<uint32_t>(data.size() * 2);
    std::ofstream out(path, std::ios::binary);
    const auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4), u32(36 + bytes), out.write("WAVEfmt ", 8), u32(16), u16(1), u16(2);
    u32(44100), u32(44100 * 4), u16(4), u16(16), out.write("data", 4), u32(bytes);
    out.write(reinterpret_cast<const char*>(data.data()), bytes);
}

class StreamTest : public MixerTest {
protected:
    void SetUp() override {
        MixerTest::SetUp();
        SetStreamFeeding(false);
        SetSoundDriver(std::make_shared<TMixerDriver>());
    }

    void TearDown() override {
        SetSoundDriver(std::make_shared<TSoundDriver>());
        MixerTest::TearDown();
    }

    // One pass after the feeding a feeder would have done by then.
    std::vector<int16_t> FedPass() {
        FeedSoundStreams();
        return Pass();
    }
};

TEST_F(StreamTest, AStreamSoundsAsItsFramesWouldFromARecordAtAnyRateVolumeAndPan) {
    for (const int32_t hertz : {44100, 22050}) {
        SCOPED_TRACE(hertz);
        const auto frames = SourceFrames(0, 15000);
        SoundRecord* record = MakeRecord(frames, hertz);
        auto streamed = GenerateSound(hertz, 15000, Generator(), 0);
        std::vector<int16_t> heard[2];
        for (int run = 0; run < 2; ++run) {
            const int32_t channel = MixerAllocChannel();
            if (run == 0) {
                MixerPlay(record, 0, channel);
            } else {
                auto held = TMixerChannel::Create(channel);
                ASSERT_EQ(streamed->Play(held), held);
            }
            MixerSetRate(channel, 1.3f);
            for (int pass = 0; pass < 10; ++pass) {
                if (pass == 2) {
                    MixerSetRate(channel, 0.7f);
                    MixerSetVolume(channel, 0.5f);
                    MixerSetPan(channel, 0.3f);
                }
                const auto out = FedPass();
                heard[run].insert(heard[run].end(), out.begin(), out.end());
            }
            EXPECT_EQ(MixerStatus(channel), VoiceStopped) << "the sound has ended";
        }
        EXPECT_EQ(heard[0], heard[1]);
        EXPECT_EQ(streamed->Status().framesMissed, 0u);
        EXPECT_EQ(streamed->Status().underruns, 0u);
        MixerFreeSound(record);
    }
}

// A play is filled ahead before it starts; without feeding, the pass after
// those frames finds nothing. It is silent for the stream alone, counted,
// and the frames that come late are skipped: the stream keeps its time.
TEST_F(StreamTest, MissingFramesAreSilentAndCountedAndTheStreamKeepsItsTime) {
    constexpr int kFedPasses = static_cast<int>(StreamFeed::kPrefillFrames / 4096);
    constexpr int64_t kLength = StreamFeed::kPrefillFrames + 5 * 4096;
    SoundRecord* other = MakeRecord(Constant(kLength, 300, 300));
    MixerPlay(other, 0, 0);
    auto streamed = GenerateSound(44100, kLength, Generator(), 0);
    const TChannelRef channel = StartSound(streamed);
    for (int pass = 0; pass < kFedPasses; ++pass) EXPECT_EQ(Pass()[0], ValueOf(pass * 4096, 0) + 300);

    const auto starved = Pass();
    EXPECT_EQ(starved, Constant(4096, 300, 300)) << "the other voice plays on alone";
    EXPECT_EQ(streamed->Status().framesMissed, 4096u);
    EXPECT_EQ(streamed->Status().underruns, 1u);

    const auto fed = FedPass();
    EXPECT_EQ(fed[0], ValueOf((kFedPasses + 1) * 4096, 0) + 300);
    EXPECT_EQ(fed[1], ValueOf((kFedPasses + 1) * 4096, 1) + 300);
    EXPECT_EQ(streamed->Status().framesPlayed, (kFedPasses + 2) * 4096u);
    EXPECT_EQ(streamed->Status().underruns, 1u);
    EXPECT_FALSE(streamed->Status().broken);
    EXPECT_TRUE(ChannelPlaying(channel));
    MixerFreeSound(other);
}

// The sound is silent from the frame where its source stops giving frames,
// counts the rest of its length as missing and ends when its length is up.
TEST_F(StreamTest, ABrokenSourceIsSilentFromTheBreakOnAndItsChannelEnds) {
    // Longer than what a play reads ahead at its start, so that the break
    // comes while it plays.
    constexpr int64_t kLength = StreamFeed::kPrefillFrames + 32768;
    constexpr int64_t kBreak = StreamFeed::kPrefillFrames + 8192;
    test::TTempFolder folder;
    const auto cut = folder.Path() / "cut.wav";
    const auto rewritten = folder.Path() / "rewritten.wav";
    WriteWav(cut, kLength);
    WriteWav(rewritten, kLength);
    struct Case {
        const char* what;
        TStreamSoundRef sound;
        std::function<void()> breakIt;
    };
    Case cases[] = {
        {"a generator that throws", GenerateSound(44100, kLength, Generator(kBreak, true), 0), [] {}},
        {"a generator that gives too few frames", GenerateSound(44100, kLength, Generator(kBreak), 0), [] {}},
        {"a WAV file cut while it plays", StreamSound(Text(cut.u16string()), 0),
         [&] { std::filesystem::resize_file(cut, 44 + kBreak * 4); }},
        {"a WAV file written anew while it plays", StreamSound(Text(rewritten.u16string()), 0),
         [&] { WriteWav(rewritten, kBreak); }},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.sound, nullptr);
        const TChannelRef channel = StartSound(c.sound);
        c.breakIt();
        std::vector<int16_t> heard;
        for (int pass = 0; pass <= kLength / 4096 + 1; ++pass) {
            const auto out = FedPass();
            heard.insert(heard.end(), out.begin(), out.end());
        }
        const TStreamStatus status = c.sound->Status();
        EXPECT_TRUE(status.broken);
        EXPECT_EQ(status.underruns, 1u);
        EXPECT_FALSE(ChannelPlaying(channel));
        // What came is heard; from the break on to the length, silence.
        const auto delivered = static_cast<int64_t>(kLength - static_cast<int64_t>(status.framesMissed));
        EXPECT_GE(delivered, static_cast<int64_t>(StreamFeed::kPrefillFrames)) << "what was read before the break";
        EXPECT_LT(delivered, kLength);
        const auto expected = SourceFrames(0, delivered);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), heard.begin()));
        EXPECT_TRUE(std::all_of(heard.begin() + static_cast<ptrdiff_t>(expected.size()), heard.end(),
                                [](int16_t v) { return v == 0; }));
        StopChannel(channel);
        Pass();
    }
}

TEST_F(StreamTest, ClosingOrReleasingAPlayingStreamEndsItsChannelsAndForgetsThePlays) {
    auto closed = GenerateSound(44100, -1, Generator(), 0);
    auto released = GenerateSound(44100, -1, Generator(), 1);
    const TChannelRef held = ReserveChannel();
    ASSERT_EQ(closed->Play(held), held);
    const TChannelRef paused = StartSoundPaused(released);
    FedPass();
    EXPECT_TRUE(ChannelPlaying(held));
    EXPECT_TRUE(ChannelPlaying(paused));

    closed->Close();
    released.reset();
    EXPECT_EQ(FedPass(), Constant(4096, 0, 0));
    EXPECT_FALSE(ChannelPlaying(held));
    ResumeChannel(paused);
    EXPECT_EQ(FedPass(), Constant(4096, 0, 0));
    EXPECT_FALSE(ChannelPlaying(paused));
    EXPECT_EQ(closed->Play(held), nullptr) << "a closed sound plays no more";
    EXPECT_EQ(LiveFeeds(), 0u);
}

// A looping WAV starts over at once: the frame after its last is its first.
// A new play of a stream starts it over too, and ends the play before.
TEST_F(StreamTest, ALoopStartsTheSourceOverWithoutAGapAndANewPlayEndsTheOldOne) {
    test::TTempFolder folder;
    WriteWav(folder.Path() / "loop.wav", 3000);
    auto looped = StreamSound(Text((folder.Path() / "loop.wav").u16string()), 1);
    const TChannelRef first = StartSound(looped);
    std::vector<int16_t> heard;
    for (int pass = 0; pass < 2; ++pass) {
        const auto out = FedPass();
        heard.insert(heard.end(), out.begin(), out.end());
    }
    for (size_t f = 0; f < heard.size() / 2; ++f) ASSERT_EQ(heard[2 * f], ValueOf(f % 3000, 0)) << f;

    const TChannelRef second = StartSound(looped);
    EXPECT_EQ(FedPass()[0], ValueOf(0, 0));
    EXPECT_FALSE(ChannelPlaying(first));
    EXPECT_TRUE(ChannelPlaying(second));
    EXPECT_EQ(looped->Status().framesPlayed, 4096u);
}

// The mixing thread passes while the engine's feeding thread fills and the
// main thread starts, stops, changes and closes streams. Under
// ThreadSanitizer this shows any unordered access between the three; in any
// build every play is forgotten once its sound and its voice let go.
TEST_F(StreamTest, FeedingMixingAndMainThreadsShareStreamsWithoutLoss) {
    SetStreamFeeding(true);
    std::atomic<bool> done{false};
    std::thread mixing([&] {
        std::vector<int16_t> out(manualaudiodevice::kSamplesPerPass);
        while (!done.load()) {
            device_->Render(out.data());
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    std::mt19937 random(7);
    // Among them the broken sources, breaking on the feeding thread: one
    // throws, one comes short, and a WAV file is cut halfway through.
    test::TTempFolder folder;
    const auto cut = folder.Path() / "cut.wav";
    WriteWav(cut, 50000);
    std::vector<TStreamSoundRef> sounds;
    for (int i = 0; i < 4; ++i)
        sounds.push_back(GenerateSound(44100, 50000, Generator(i >= 2 ? 10000 * i : -1, i == 2), i % 2));
    sounds.push_back(StreamSound(Text(cut.u16string()), 1));
    const TChannelRef channel = ReserveChannel();
    for (int step = 0; step < 600; ++step) {
        TStreamSoundRef& sound = sounds[random() % sounds.size()];
        switch (random() % 6) {
            case 0: StartSound(sound); break;
            case 1: sound->Play(channel); break;
            case 2: StopChannel(channel); break;
            case 3: SetChannelRate(channel, static_cast<float>(random() % 300) / 100.0f); break;
            case 4: sound->Status(); break;
            default:
                sound->Close();
                sound = GenerateSound(44100, -1, Generator(), 0);
                break;
        }
        if (step == 300) std::filesystem::resize_file(cut, 44 + 20000 * 4);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    sounds.clear();
    StopChannel(channel);
    done.store(true);
    mixing.join();
    SetStreamFeeding(false);
    Pass();
    EXPECT_EQ(LiveFeeds(), 0u);
}

}  // namespace
}  // namespace vesk::testing
