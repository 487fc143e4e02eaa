// The countdown's text and the logo rows' wave.
#include "intro/countdown.h"
#include "intro/picture_rows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vesk {
namespace {

TEST(Countdown, ShowsTheMillisecondsLeftAndGoesNegative) {
    EXPECT_EQ(CountdownText(0), u"132000");
    EXPECT_EQ(CountdownText(20), u"131980");
    EXPECT_EQ(CountdownText(131999), u"1");
    EXPECT_EQ(CountdownText(132000), u"0");
    EXPECT_EQ(CountdownText(132005), u"-5");
    EXPECT_EQ(CountdownText(132022), u"-22");
    // Only the low 32 bits of the difference are shown.
    EXPECT_EQ(CountdownText(132000 + (int64_t{1} << 32) + 7), u"-7");
    EXPECT_EQ(CountdownText(132000 + 2147483648LL), u"-2147483648");
    EXPECT_EQ(CountdownText(132000 + 2147483649LL), u"2147483647");
}

TEST(PictureRows, AmplitudeRampsFromZeroTo100) {
    EXPECT_EQ(RowAmplitude(-5), 0);
    EXPECT_EQ(RowAmplitude(359), 0);
    for (int32_t t = 360; t < 720; ++t) ASSERT_EQ(RowAmplitude(t), (t - 360) * 5 / 18) << t;
    EXPECT_EQ(RowAmplitude(719), 99);
    EXPECT_EQ(RowAmplitude(720), 100);
    EXPECT_EQ(RowAmplitude(1 << 30), 100);
}

double DegreesSin(double degrees) { return std::sin(degrees * std::numbers::pi / 180); }

TEST(PictureRows, StayStillBefore257HundredthsAndRippleFully720On) {
    for (int32_t centis = 0; centis < 257; ++centis) {
        for (int32_t row = 0; row < 104; ++row) ASSERT_EQ(RowShift(centis, row), 0) << centis << " " << row;
    }
    // The wave climbs from the bottom row.
    EXPECT_EQ(RowShift(300, 10), 0);
    EXPECT_NE(RowShift(300, 103), 0);
    for (int32_t centis : {720, 800, 5000}) {
        for (int32_t row : {0, 51, 103}) {
            const double t = centis + row;
            const double expected = (DegreesSin(t / 10) + DegreesSin(t / 3)) * 100 * DegreesSin(t);
            EXPECT_NEAR(RowShift(centis, row), expected, 1e-9);
            EXPECT_LE(std::abs(RowShift(centis, row)), 200);
        }
    }
}

}  // namespace
}  // namespace vesk
