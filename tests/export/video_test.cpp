// intro-export run as a program on a short range of the show: the file
// ffprobe sees, a picture decoded from it against the recording build's frame
// for the same moment, and the sound against the music at that moment.
#include "export/music_pcm.h"

#include "export_runs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::TTempFolder;

// Three seconds from 2 s into the show: frames 100 to 249.
constexpr int kFirst = 100;
constexpr int kEnd = 250;

double Seconds(const std::string& text) { return text.empty() ? -1 : std::stod(text); }

// Normalised correlation of the decoded track with the music, the decoded one
// shifted by `lag` stereo frames.
double SoundCorrelation(const std::vector<int16_t>& decoded, const int16_t* music, size_t samples, int lag) {
    double both = 0, decodedEnergy = 0, musicEnergy = 0;
    for (size_t i = 0; i < samples; ++i) {
        const long j = static_cast<long>(i) + 2L * lag;
        if (j < 0 || j >= static_cast<long>(decoded.size())) continue;
        both += double(decoded[j]) * music[i];
        decodedEnergy += double(decoded[j]) * decoded[j];
        musicEnergy += double(music[i]) * music[i];
    }
    return both / std::sqrt(decodedEnergy * musicEnergy + 1);
}

class ExportedVideo : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder_.Path().empty());
        const test::TCommandResult run = test::RunCommand(
            test::ExportCommand("--from " + std::to_string(kFirst) + " --to " + std::to_string(kEnd) + " out.mp4"),
            folder_.Path());
        ASSERT_EQ(run.status, 0) << run.errors;
        EXPECT_NE(run.errors.find("Wrote out.mp4: 150 frames"), std::string::npos) << run.errors;
        // Only the finished video is left: no partial file, no frames.
        ASSERT_EQ(test::FolderContents(folder_.Path()), std::set<std::string>{"out.mp4"});
    }

    fs::path Video() const { return folder_.Path() / "out.mp4"; }

    TTempFolder folder_;
};

TEST_F(ExportedVideo, IsAnMp4OfTheRangeWithH264PictureAndAacSound) {
    const auto probe = test::ProbeVideo(Video());
    ASSERT_EQ(probe.size(), 3u) << "a format and two streams";
    EXPECT_NE(probe[0].at("format_name").find("mp4"), std::string::npos);
    EXPECT_NEAR(Seconds(probe[0].at("duration")), 3.0, 0.03);
    const auto& picture = probe[1];
    EXPECT_EQ(picture.at("codec_type"), "video");
    EXPECT_EQ(picture.at("codec_name"), "h264");
    EXPECT_EQ(picture.at("width"), "768");
    EXPECT_EQ(picture.at("height"), "576");
    EXPECT_EQ(picture.at("pix_fmt"), "yuv420p");
    EXPECT_EQ(picture.at("r_frame_rate"), "50/1");
    EXPECT_EQ(picture.at("nb_frames"), "150");
    const auto& sound = probe[2];
    EXPECT_EQ(sound.at("codec_type"), "audio");
    EXPECT_EQ(sound.at("codec_name"), "aac");
    EXPECT_EQ(sound.at("sample_rate"), "44100");
    EXPECT_EQ(sound.at("channels"), "2");
    EXPECT_NEAR(Seconds(sound.at("duration")), 3.0, 0.03);
}

// One second into the video is frame 150 of the show. Encoding loses a little
// (chroma at half resolution), but the frame must match its own moment far
// better than the frames either side, where the countdown and the logo's wave
// have moved on.
TEST_F(ExportedVideo, ShowsTheRecordingBuildsFrameForEachMoment) {
    const TPixmapRef decoded = test::DecodeFrameAt(Video(), 1.0);
    ASSERT_TRUE(decoded);
    const auto recorded = test::RenderRecordedFrames({149, 150, 151}, 152);
    ASSERT_EQ(recorded.size(), 3u);
    const double same = test::PictureSimilarity(*decoded, *recorded.at(150));
    const double before = test::PictureSimilarity(*decoded, *recorded.at(149));
    const double after = test::PictureSimilarity(*decoded, *recorded.at(151));
    std::printf("similarity %.2f dB, neighbours %.2f and %.2f dB\n", same, before, after);
    EXPECT_GT(same, 33.0);
    EXPECT_GT(same, before + 3);
    EXPECT_GT(same, after + 3);
}

// The sound at second s of the video is the music at show time 2 + s:
// strongly correlated with the track at no shift, not at a frame's shift.
TEST_F(ExportedVideo, PlaysTheMusicInStepWithThePicture) {
    const std::vector<int16_t> decoded = test::DecodeSound(Video());
    const TMusicPcm music = ReadIntroMusic();
    const TByteSpan expected = MusicBytesForFrames(music, kFirst, kEnd);
    ASSERT_NEAR(double(decoded.size() * 2), double(expected.size), 2048 * 4.0);
    const auto* samples = reinterpret_cast<const int16_t*>(expected.data);
    const size_t count = std::min(decoded.size(), expected.size / 2);
    const double inStep = SoundCorrelation(decoded, samples, count, 0);
    const double frameLate = SoundCorrelation(decoded, samples, count, 882);
    const double frameEarly = SoundCorrelation(decoded, samples, count, -882);
    std::printf("correlation %.3f, a frame off %.3f and %.3f\n", inStep, frameLate, frameEarly);
    EXPECT_GT(inStep, 0.9);
    EXPECT_LT(frameLate, inStep - 0.2);
    EXPECT_LT(frameEarly, inStep - 0.2);
}

}  // namespace
}  // namespace vesk
