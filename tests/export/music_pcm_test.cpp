// The music's bytes for a range of show frames.
#include "export/music_pcm.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

constexpr int32_t kMusicFrames = 11506008;
constexpr size_t kFrameBytes = 4;  // 16-bit stereo

TEST(ExportMusic, TheWholeTrackNeedsShowFramesUpToItsLastSound) {
    const TMusicPcm music = ReadIntroMusic();
    EXPECT_EQ(music.sample->length, kMusicFrames);
    EXPECT_EQ(music.Hertz(), 44100);
    EXPECT_EQ(music.ShowFrames(), 13046);  // 13045 frames leave 318 sound frames over
    EXPECT_EQ(ShowFramesCovering(882 * 10, 44100), 10);
    EXPECT_EQ(ShowFramesCovering(882 * 10 + 1, 44100), 11);
}

TEST(ExportMusic, ARangeGetsTheSoundOfItsOwnMoment) {
    const TMusicPcm music = ReadIntroMusic();
    const TByteSpan all = MusicBytesForFrames(music, 0, music.ShowFrames());
    EXPECT_EQ(all.data, music.sample->samples);
    EXPECT_EQ(all.size, kMusicFrames * kFrameBytes);
    // Frame n starts n/50 s in: 882 sound frames a show frame.
    const TByteSpan range = MusicBytesForFrames(music, 100, 250);
    EXPECT_EQ(range.data, music.sample->samples + 100 * 882 * kFrameBytes);
    EXPECT_EQ(range.size, 150 * 882 * kFrameBytes);
}

TEST(ExportMusic, FramesPastTheMusicGetWhatIsLeftOrNothing) {
    const TMusicPcm music = ReadIntroMusic();
    EXPECT_EQ(MusicBytesForFrames(music, 13045, 13046).size, 318 * kFrameBytes);
    EXPECT_EQ(MusicBytesForFrames(music, 13045, 20000).size, 318 * kFrameBytes);
    EXPECT_EQ(MusicBytesForFrames(music, 13046, 13100).size, 0u);
}

}  // namespace
}  // namespace vesk
