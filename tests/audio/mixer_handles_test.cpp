// Handles, their generations and the life of voices between the two threads'
// rings, driven from one thread.
#include "mixer_fixture.h"

namespace vesk::testing {
namespace {

TEST_F(MixerTest, FreshTableHandsOutSlotOneAndTwoWithTheFirstGeneration) {
    EXPECT_EQ(MixerAllocChannel(), 8193);
    EXPECT_EQ(MixerAllocChannel(), 8194);
    EXPECT_EQ(MixerStatus(8193), VoiceStopped);
    EXPECT_EQ(MixerStatus(8195), 0) << "not handed out";
    EXPECT_EQ(MixerStatus(8193 + 4096), 0) << "wrong generation";
    EXPECT_EQ(MixerStatus(4096), 0) << "slot 0 is the free-list head";
}

TEST_F(MixerTest, HandleOfRecycledVoiceGoesStale) {
    SoundRecord* record = MakeRecord(Constant(10, 1, 1));
    const int32_t first = MixerPlay(record, 0, 0);
    EXPECT_EQ(first, 8193);
    Pass();  // ends
    Pass();  // recycled
    // The next play reuses the voice and gives its handle back.
    const int32_t second = MixerPlay(record, 0, 0);
    EXPECT_EQ(second, 8194);
    EXPECT_EQ(MixerStatus(first), 0);
    const int32_t again = MixerAllocChannel();
    EXPECT_EQ(again, 8193 + 4096);
    EXPECT_EQ(MixerStatus(first), 0);
    MixerSetVolume(first, 0.5f);
    EXPECT_EQ(Engine().VoiceCount(), 1u) << "both plays had the same voice";
}

TEST_F(MixerTest, PlayOnHeldChannelReplacesItsVoiceAndKeepsItsParameters) {
    SoundRecord* record = MakeRecord(Constant(3 * 4096, 1000, 1000));
    const int32_t channel = MixerAllocChannel();
    MixerSetVolume(channel, 0.5f);
    EXPECT_EQ(MixerPlay(record, 0, channel), channel);
    EXPECT_EQ(Pass()[0], 500);
    EXPECT_EQ(MixerPlay(record, 0, channel), channel);
    // The replaced voice is silent at once, and recycled rather than kept.
    EXPECT_EQ(Pass()[0], 500);
    Pass();
    EXPECT_EQ(Engine().ActiveCount(), 1u);
    EXPECT_EQ(MixerStatus(channel), VoicePlayingOnce);
}

TEST_F(MixerTest, PlayOnChannelOfAFinishedFireAndForgetVoiceKeepsTheHandle) {
    SoundRecord* record = MakeRecord(Constant(10, 1, 1));
    const int32_t handle = MixerPlay(record, 0, 0);
    Pass();
    EXPECT_EQ(MixerPlay(record, 0, handle), handle);
    Pass();
    Pass();
    MixerPlay(record, 0, 0);  // reuses a recycled voice
    EXPECT_EQ(MixerStatus(handle), VoiceStopped) << "the channel's own voice ended and stays";
}

TEST_F(MixerTest, StoppedFireAndForgetVoiceIsRecycled) {
    SoundRecord* record = MakeRecord(Constant(8192, 1, 1));
    const int32_t handle = MixerPlay(record, 0, 0);
    Pass();
    MixerStop(handle);
    EXPECT_LE(MixerStatus(handle), VoiceStopped);
    Pass();
    EXPECT_EQ(Engine().ActiveCount(), 0u);
}

TEST_F(MixerTest, PlayWithoutAFreeHandleStillSoundsAndIsRecycled) {
    for (int i = 0; i < 4095; ++i) ASSERT_NE(MixerAllocChannel(), 0);
    EXPECT_EQ(MixerAllocChannel(), 0);
    SoundRecord* record = MakeRecord(Constant(10, 100, 100));
    EXPECT_EQ(MixerPlay(record, 0, 0), 0);
    EXPECT_EQ(Pass()[0], 100);
    Pass();
    EXPECT_EQ(Engine().ActiveCount(), 0u);
}

TEST_F(MixerTest, RecordsTheMixerCannotPlayAreRefused) {
    SoundRecord* mono = MixerCreateSound(100, 16, 1, 44100, nullptr, 0);
    SoundRecord* eightBit = MixerCreateSound(100, 8, 2, 44100, nullptr, 0);
    SoundRecord* silent = MixerCreateSound(100, 16, 0, 44100, nullptr, 0);
    const int32_t channel = MixerAllocChannel();
    for (SoundRecord* record : {mono, eightBit, silent}) {
        EXPECT_EQ(MixerPlay(record, 0, 0), 0);
        EXPECT_EQ(MixerPlay(record, 0, channel), 0);
    }
    EXPECT_EQ(MixerPlay(nullptr, 0, channel), channel);
    EXPECT_EQ(MixerStatus(channel), VoiceStopped);
    EXPECT_EQ(Engine().VoiceCount(), 1u);
    for (SoundRecord* record : {mono, eightBit, silent}) MixerFreeSound(record);
}

TEST_F(MixerTest, FullIncomingRingRefusesThePlayInsteadOfOverwriting) {
    SoundRecord* record = MakeRecord(Constant(10, 1, 1));
    const int32_t channel = MixerAllocChannel();
    for (int i = 0; i < kVoiceRingSlots; ++i) ASSERT_EQ(MixerPlay(record, 0, channel), channel) << i;
    const size_t voices = Engine().VoiceCount();
    EXPECT_EQ(MixerPlay(record, 0, channel), 0);
    EXPECT_EQ(MixerPlay(record, 0, 0), 0);
    EXPECT_EQ(Engine().VoiceCount(), voices);
    EXPECT_EQ(MixerAllocChannel(), 8194) << "a refused play takes no handle";
    Pass();
    EXPECT_EQ(MixerPlay(record, 0, channel), channel);
}

TEST_F(MixerTest, FullRecycledRingKeepsFinishedVoicesForTheNextPass) {
    SoundRecord* record = MakeRecord(Constant(10, 1, 1));
    for (int i = 0; i < kVoiceRingSlots; ++i) MixerPlay(record, 0, 0);
    Pass();                   // all end
    MixerPlay(record, 0, 0);  // one more voice, made new
    Pass();                   // the first ones fill the recycled ring; the new one ends
    Pass();                   // no room for the last one yet
    EXPECT_EQ(Engine().ActiveCount(), 1u);
    MixerPlay(record, 0, 0);  // takes one back, making room
    Pass();
    EXPECT_EQ(Engine().recycled.Count(), static_cast<size_t>(kVoiceRingSlots));
    EXPECT_EQ(Engine().VoiceCount(), kVoiceRingSlots + 1u);
}

TEST(MixerClosed, EveryFunctionIsInert) {
    EXPECT_EQ(MixerCreateSound(10, 16, 2, 44100, nullptr, 0), nullptr);
    EXPECT_EQ(MixerAllocChannel(), 0);
    EXPECT_EQ(MixerPlay(nullptr, 0, 8193), 8193);
    EXPECT_EQ(MixerStatus(8193), 0);
    EXPECT_EQ(MixerStop(8193), 0);
    EXPECT_EQ(MixerPause(8193, 1), 0);
    EXPECT_EQ(MixerSetVolume(8193, 1.0f), 0);
    EXPECT_EQ(MixerSetRate(8193, 1.0f), 0);
    EXPECT_EQ(MixerFreeSound(nullptr), 0);
    EXPECT_EQ(MixerClose(), 0);
}

}  // namespace
}  // namespace vesk::testing
