// The music: the exact WAV form, and a sound that a listener would accept:
// never silent before its ending, no clipping, no offset, stereo, and its
// loudest stretch where the countdown reaches zero.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "asset_bytes.h"

namespace vesk::assettest {
namespace {

constexpr long kFrames = 11506008;
constexpr int kRate = 44100;

class Music : public ::testing::Test {
protected:
    static void SetUpTestSuite() { file = new Bytes(ReadFileBytes(VESK_ASSET_MUSIC)); }
    static void TearDownTestSuite() { delete file; }
    static int Sample(long frame, int channel) {
        return std::int16_t(U16(*file, 44 + std::size_t(frame) * 4 + std::size_t(channel) * 2));
    }
    // Root mean square of both channels over [from, to) seconds, in dB of
    // full scale.
    static double Loudness(double from, double to) {
        double sum = 0;
        long first = long(from * kRate), last = long(to * kRate);
        for (long f = first; f < last; ++f)
            sum += double(Sample(f, 0)) * Sample(f, 0) + double(Sample(f, 1)) * Sample(f, 1);
        return 10 * std::log10(sum / (2.0 * double(last - first)) / (32768.0 * 32768.0) + 1e-12);
    }
    static Bytes* file;
};
Bytes* Music::file = nullptr;

TEST_F(Music, HasTheExactRiffWaveForm) {
    ASSERT_EQ(file->size(), 46024076u);
    EXPECT_EQ(Tag(*file, 0), "RIFF");
    EXPECT_EQ(U32(*file, 4), 46024076u - 8);
    EXPECT_EQ(Tag(*file, 8), "WAVE");
    EXPECT_EQ(Tag(*file, 12), "fmt ");
    EXPECT_EQ(U32(*file, 16), 16u);
    EXPECT_EQ(U16(*file, 20), 1u);  // PCM
    EXPECT_EQ(U16(*file, 22), 2u);
    EXPECT_EQ(U32(*file, 24), 44100u);
    EXPECT_EQ(U32(*file, 28), 44100u * 4);
    EXPECT_EQ(U16(*file, 32), 4u);
    EXPECT_EQ(U16(*file, 34), 16u);
    EXPECT_EQ(Tag(*file, 36), "data");
    EXPECT_EQ(U32(*file, 40), 46024032u);
    EXPECT_EQ(U32(*file, 40) / 4, std::uint32_t(kFrames));
}

// Silence is allowed only where the piece starts out of nothing and where
// it has faded out; the last frame is silent.
TEST_F(Music, IsNeverSilentBeforeItsEnding) {
    long run = 0, longest = 0;
    for (long f = 0; f < kFrames - 2 * kRate; ++f) {
        run = Sample(f, 0) == 0 && Sample(f, 1) == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    EXPECT_LT(longest, kRate / 10);
    EXPECT_EQ(Sample(kFrames - 1, 0), 0);
    EXPECT_EQ(Sample(kFrames - 1, 1), 0);
    EXPECT_LT(Loudness(260.0, 260.9), Loudness(250.0, 252.0) - 20);  // a fade, not a cut
}

TEST_F(Music, StaysBelowFullScaleWithoutOffset) {
    int peak = 0;
    double sum[2] = {0, 0};
    for (long f = 0; f < kFrames; ++f)
        for (int c = 0; c < 2; ++c) {
            peak = std::max(peak, std::abs(Sample(f, c)));
            sum[c] += Sample(f, c);
        }
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 16384);  // it uses the range it has
    EXPECT_LT(std::abs(sum[0] / kFrames), 16.0);
    EXPECT_LT(std::abs(sum[1] / kFrames), 16.0);
}

TEST_F(Music, IsStereoAndPeaksWhenTheCountdownEnds) {
    double side = 0, mid = 0;
    for (long f = 30L * kRate; f < 40L * kRate; ++f) {
        double l = Sample(f, 0), r = Sample(f, 1);
        side += (l - r) * (l - r), mid += (l + r) * (l + r);
    }
    EXPECT_GT(side, mid / 100);  // the sides differ by more than 20 dB below the middle

    const double atZero = Loudness(132.0, 136.0);
    for (double t = 3; t + 4 <= 128; t += 4) EXPECT_GT(atZero, Loudness(t, t + 4)) << t;
    EXPECT_GT(Loudness(20, 24), -30);  // a sensible level, neither faint
    EXPECT_LT(atZero, -8);             // nor crushed
}

}  // namespace
}  // namespace vesk::assettest
