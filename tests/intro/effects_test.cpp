// The effect objects: how points fly, restart and die, how the list keeps
// its traversal while points leave it, and how many are spawned.
#include "intro/effects.h"
#include "intro/random.h"

#include "recording_driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vesk {
namespace {

TEffectPointRef MakePoint(int32_t state, double x, double y, double z, double speed) {
    auto point = std::make_shared<TEffectPoint>();
    point->x = x;
    point->y = y;
    point->z = z;
    point->speed = speed;
    point->state = state;
    return point;
}

TEST(EffectPoints, ProjectionDividesThenScalesAndTruncatesTowardsZero) {
    EXPECT_EQ(MakePoint(0, 10, -10, 3, 0)->Project().sx, 333);
    EXPECT_EQ(MakePoint(0, 10, -10, 3, 0)->Project().sy, -333);
    // Not a number and infinities land far off screen instead of anywhere.
    EXPECT_LT(MakePoint(0, 0, 0, 0, 0)->Project().sx, -384);
    EXPECT_LT(MakePoint(0, 5, 0, 0, 0)->Project().sx, -384);
}

TEST(EffectPoints, AStarLeavingTheViewRestartsAndIsDrawnBlackInTheSameFrame) {
    auto driver = test::InstallRecordingDriver();
    TEffectList list;
    list.Append(MakePoint(EFFECT_STAR, 380, 0, 2, 1.5));  // z 0.5: far beyond the right edge
    SeedRandom(4242);
    const double rx = RandomDouble(), ry = RandomDouble(), rs = RandomDouble();
    SeedRandom(4242);
    list.UpdateAll();

    ASSERT_EQ(list.Count(), 1u);
    const TEffectPoint& star = *list.Points().front();
    EXPECT_EQ(star.state, EFFECT_STAR);
    EXPECT_EQ(star.z, 100);
    // A restarted star draws its speed from a wider range than a new one.
    EXPECT_DOUBLE_EQ(star.speed, 0.5 + rs * 2.5);
    ASSERT_EQ(driver->quads.size(), 1u);
    const test::TRecordedQuad& quad = driver->quads[0];
    EXPECT_EQ(quad.colour, (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(quad.tx, std::trunc((-384 + rx * 768) / 100 * 100) + 384);
    EXPECT_EQ(quad.ty, std::trunc((-288 + ry * 576) / 100 * 100) + 288);
    EXPECT_EQ(quad.x1 - quad.x0, 3);
    EXPECT_EQ(quad.y1 - quad.y0, 3);
    EXPECT_EQ(driver->colour, (std::array<int, 3>{255, 255, 255}));
}

TEST(EffectPoints, SpiralPointsBrightenThenDieAtTheEdgeAndAreRemoved) {
    auto driver = test::InstallRecordingDriver();
    TEffectList list;
    list.Append(NewSpiralPoint(384, 0));
    int frames = 0;
    while (list.Count() == 1) {
        list.UpdateAll();
        ++frames;
        ASSERT_LT(frames, 200);
    }
    // 38400 / z reaches 768 once z falls to 49, after 117 updates.
    EXPECT_EQ(frames, 117);
    ASSERT_EQ(driver->quads.size(), 116u);
    const test::TRecordedQuad& first = driver->quads.front();
    EXPECT_EQ(first.tx, 384 + 96);  // 384 / 397 * 100
    EXPECT_EQ(first.colour[0], 1);  // 255 * 3 / 400
    const test::TRecordedQuad& last = driver->quads.back();
    EXPECT_EQ(last.tx, 384 + 738);  // 384 / 52 * 100
    EXPECT_EQ(last.colour, (std::array<int, 3>{221, 221, 221}));
}

TEST(EffectPoints, TheListKeepsItsTraversalWhilePointsAreRemoved) {
    auto driver = test::InstallRecordingDriver();
    TEffectList list;
    // Dying points first, in the middle, in a row and last.
    list.Append(MakePoint(EFFECT_SPIRAL, 0, 0, 2, 3));
    const auto star = MakePoint(EFFECT_STAR, 10, 10, 50, 1);
    list.Append(star);
    list.Append(MakePoint(EFFECT_SPIRAL, 0, 0, 2, 3));
    list.Append(MakePoint(EFFECT_SPIRAL, 0, 0, 2, 3));
    const auto spiral = MakePoint(EFFECT_SPIRAL, -20, 20, 300, 3);
    list.Append(spiral);
    list.Append(MakePoint(EFFECT_SPIRAL, 0, 0, 2, 3));
    list.UpdateAll();

    ASSERT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Points().front(), star);
    EXPECT_EQ(list.Points().back(), spiral);
    EXPECT_EQ(star->z, 49);
    EXPECT_EQ(spiral->z, 297);
    ASSERT_EQ(driver->quads.size(), 2u);
    EXPECT_EQ(driver->quads[0].tx, 384 + 20);  // 10 / 49 * 100
    EXPECT_EQ(driver->quads[1].tx, 384 - 6);   // -20 / 297 * 100

    list.Remove(star.get());
    list.Remove(star.get());  // no longer there: nothing happens
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(list.Points().front(), spiral);
}

TEST(EffectPoints, AnEmptyListOnlySetsTheColourToWhite) {
    auto driver = test::InstallRecordingDriver();
    driver->colour = {1, 2, 3};
    TEffectList list;
    list.UpdateAll();
    EXPECT_TRUE(driver->quads.empty());
    EXPECT_EQ(driver->colour, (std::array<int, 3>{255, 255, 255}));
}

TEST(EffectSpawning, BringsAtMost800StarsAndFiveSpiralPointsAFrame) {
    TEffectList list;
    TEffectSpawner spawner;
    const int32_t state = RandomState();
    spawner.Spawn(list, 0, 0);
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_EQ(spawner.spawnCount, 0);
    // No random number is drawn before the first star.
    EXPECT_EQ(RandomState(), state);

    for (int frame = 0; frame < 1000; ++frame) spawner.Spawn(list, 1, frame);
    EXPECT_EQ(list.Count(), 800u);
    EXPECT_EQ(spawner.spawnCount, 1000);

    spawner.Spawn(list, 2, 90);
    ASSERT_EQ(list.Count(), 805u);
    auto point = list.Points().begin();
    std::advance(point, 800);
    for (int k = 0; k < 5; ++k, ++point) {
        // 90 / 0.9 = 100 degrees, give or take the single-precision 0.9.
        const double alpha = (100 + 72 * k) * std::numbers::pi / 180;
        EXPECT_EQ((*point)->state, EFFECT_SPIRAL);
        EXPECT_NEAR((*point)->x, 384 * std::cos(alpha), 1e-4);
        EXPECT_NEAR((*point)->y, -384 * std::sin(alpha), 1e-4);
    }
}

}  // namespace
}  // namespace vesk
