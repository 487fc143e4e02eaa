// What one mixing pass puts out: resampling steps, gains, ramps, the end of
// a record and the loop, and the clamp.
#include "mixer_fixture.h"

#include <random>

namespace vesk::testing {
namespace {

// Plays a record on a reserved channel after the given rate was set on it,
// so the voice starts at that rate without a ramp.
int32_t PlayAtRate(SoundRecord* record, float rate) {
    const int32_t handle = MixerAllocChannel();
    MixerSetRate(handle, rate);
    EXPECT_EQ(MixerPlay(record, 0, handle), handle);
    return handle;
}

TEST_F(MixerTest, SoundAtNormalRateAndFullVolumeComesOutBitForBit) {
    std::mt19937 random(7);
    std::vector<int16_t> input(2 * 4096 * 2);
    for (auto& s : input) s = static_cast<int16_t>(random());
    SoundRecord* record = MakeRecord(input);
    ASSERT_NE(MixerPlay(record, 0, 0), 0);
    std::vector<int16_t> out = Pass(), second = Pass();
    out.insert(out.end(), second.begin(), second.end());
    EXPECT_EQ(out, input);
}

TEST_F(MixerTest, SampleAdvancePerFrameFollowsRecordRateAndPlayRate) {
    struct Case {
        int32_t hertz;
        float rate;
        int samplesPerFrame2;  // samples advanced per output frame, times 2
    };
    for (Case c : {Case{44100, 1.0f, 4}, Case{22050, 1.0f, 2}, Case{44100, 2.0f, 8}}) {
        SCOPED_TRACE(c.hertz);
        SoundRecord* record = MakeRecord(IndexSamples(8192), c.hertz);
        const int32_t handle = PlayAtRate(record, c.rate);
        const auto out = Pass();
        for (int f = 0; f < 4096; f += 97) {
            const int expected = (f * c.samplesPerFrame2 / 2) & ~1;
            ASSERT_EQ(out[2 * f], expected) << "frame " << f;
            ASSERT_EQ(out[2 * f + 1], expected + 1) << "frame " << f;
        }
        MixerStop(handle);
        MixerFreeSound(record);
    }
}

TEST_F(MixerTest, TwoFullScaleVoicesClampToTheSampleRange) {
    SoundRecord* loud = MakeRecord(Constant(4096, 32767, -32768));
    MixerPlay(loud, 0, 0);
    MixerPlay(loud, 0, 0);
    const auto out = Pass();
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
    EXPECT_EQ(out[8190], 32767);
    EXPECT_EQ(out[8191], -32768);
}

TEST_F(MixerTest, PanAndDepthShapeTheChannels) {
    SoundRecord* record = MakeRecord(Constant(4096, 1000, 1000));
    const int32_t right = MixerAllocChannel();
    MixerSetPan(right, 1.0f);
    MixerPlay(record, 0, right);
    auto out = Pass();
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 1000);
    MixerStop(right);

    const int32_t left = MixerAllocChannel();
    MixerSetPan(left, -0.5f);
    MixerPlay(record, 0, left);
    out = Pass();
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[1], 500);
    MixerStop(left);

    const int32_t inverted = MixerAllocChannel();
    MixerSetDepth(inverted, -1.0f);
    MixerPlay(record, 0, inverted);
    out = Pass();
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[1], -1000);
}

TEST_F(MixerTest, VolumeChangeFadesLinearlyOverOnePass) {
    SoundRecord* record = MakeRecord(Constant(4 * 4096, 16384, 16384));
    const int32_t handle = MixerPlay(record, 0, 0);
    EXPECT_EQ(Pass()[0], 16384);
    MixerSetVolume(handle, 0.0f);
    const auto fade = Pass();
    for (int f = 0; f < 4096; ++f) ASSERT_EQ(fade[2 * f], 4 * (4096 - f)) << "frame " << f;
    const auto after = Pass();
    EXPECT_EQ(after[0], 0);
    EXPECT_EQ(after[8190], 0);
    EXPECT_EQ(MixerStatus(handle), VoicePlayingOnce);
}

TEST_F(MixerTest, RateChangeRampsTheStepAcrossOnePass) {
    SoundRecord* record = MakeRecord(IndexSamples(16000));
    const int32_t handle = MixerPlay(record, 0, 0);
    MixerSetRate(handle, 0.0f);
    const auto out = Pass();
    // The step falls from two samples a frame to none: the read index rises
    // ever more slowly and ends near 4096 (the area under the ramp).
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 2);
    EXPECT_NEAR(out[8190], 4096, 4);
    for (int f = 1; f < 4096; ++f) ASSERT_LE(out[2 * f - 2], out[2 * f]);
    const auto still = Pass();
    EXPECT_EQ(still[0], still[8190]);
}

TEST_F(MixerTest, RecordEndingWithinPassStopsContributingAfterItsLastFrame) {
    SoundRecord* record = MakeRecord(Constant(100, 500, -500));
    const int32_t fireAndForget = MixerPlay(record, 0, 0);
    const int32_t held = MixerAllocChannel();
    MixerPlay(record, 0, held);
    const auto out = Pass();
    EXPECT_EQ(out[2 * 99], 1000);
    EXPECT_EQ(out[2 * 99 + 1], -1000);
    EXPECT_EQ(out[2 * 100], 0);
    EXPECT_EQ(out[2 * 100 + 1], 0);
    EXPECT_EQ(out[8190], 0);
    // A fire-and-forget voice is finished and will be recycled; one on a
    // channel the program holds stops.
    EXPECT_EQ(MixerStatus(fireAndForget), VoiceFinished);
    EXPECT_EQ(MixerStatus(held), VoiceStopped);
}

TEST_F(MixerTest, LoopingRecordWrapsWithItsFractionKept) {
    // Frames 100, 200, 300 read at 1.25 frames per output frame: the read
    // position in samples runs 0, 2.5, 5, 7.5 -> 1.5, 4, 6.5 -> 0.5, 3, ...
    SoundRecord* record = MakeRecord({100, 0, 200, 0, 300, 0}, 44100, -1);
    PlayAtRate(record, 1.25f);
    const auto out = Pass();
    const int16_t expected[] = {100, 200, 300, 100, 300, 100, 200, 300, 200, 300, 100, 200, 100};
    for (int f = 0; f < 13; ++f) EXPECT_EQ(out[2 * f], expected[f]) << "frame " << f;
    EXPECT_NE(out[8190], 0);
}

TEST_F(MixerTest, SilentVoiceStillAdvancesAndEnds) {
    SoundRecord* record = MakeRecord(Constant(6000, 1000, 1000));
    const int32_t handle = MixerAllocChannel();
    MixerSetVolume(handle, 0.0f);
    MixerPlay(record, 0, handle);
    EXPECT_EQ(Pass()[0], 0);
    EXPECT_EQ(MixerStatus(handle), VoicePlayingOnce);
    Pass();
    EXPECT_EQ(MixerStatus(handle), VoiceStopped);
}

TEST_F(MixerTest, EmptyRecordEndsWithoutBeingRead) {
    SoundRecord* empty = MixerCreateSound(0, 16, 2, 44100, nullptr, -1);
    const int32_t handle = MixerPlay(empty, 0, 0);
    EXPECT_EQ(Pass()[0], 0);
    EXPECT_EQ(MixerStatus(handle), VoiceFinished);
    MixerFreeSound(empty);
}

}  // namespace
}  // namespace vesk::testing
