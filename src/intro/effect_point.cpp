#include "intro/effects.h"

#include "intro/random.h"
#include "intro/screen.h"
#include "intro/show_math.h"

namespace vesk {
namespace {

constexpr int32_t kHalfWidth = kShowCentreX;
constexpr int32_t kHalfHeight = kShowCentreY;
constexpr double kStarDepth = 100;
constexpr double kSpiralDepth = 400;

bool OutOfView(const TProjection& p, double z) {
    return p.sx < -kHalfWidth || p.sx >= 2 * kHalfWidth || p.sy < -kHalfHeight || p.sy >= 2 * kHalfHeight ||
           z < 1;
}

// A fresh place and speed for a star; the draws come in this order.
void PlaceStar(TEffectPoint& star, double maxSpeed) {
    star.x = RandomInRange(-kHalfWidth, kHalfWidth);
    star.y = RandomInRange(-kHalfHeight, kHalfHeight);
    star.z = kStarDepth;
    star.speed = RandomInRange(0.5, maxSpeed);
}

}  // namespace

TProjection TEffectPoint::Project() const {
    // The division first, then the product, as the placement always did.
    return {TruncateToInt32(x / z * 100), TruncateToInt32(y / z * 100)};
}

int32_t TEffectPoint::Update() {
    z -= speed;
    if (OutOfView(Project(), z)) {
        // A restarted star is faster on average than a new one.
        if (state == EFFECT_STAR) {
            PlaceStar(*this, 3.0);
        } else {
            state = EFFECT_DEAD;
        }
    }
    return state;
}

int32_t TEffectPoint::GreyLevel() const {
    if (state == EFFECT_STAR) return TruncateToInt32(255 * (kStarDepth - z) / kStarDepth);
    return TruncateToInt32(255 * (kSpiralDepth - z) / kSpiralDepth);
}

TEffectPointRef NewStar() {
    auto star = std::make_shared<TEffectPoint>();
    PlaceStar(*star, 2.0);
    star->state = EFFECT_STAR;
    return star;
}

TEffectPointRef NewSpiralPoint(double x, double y) {
    auto point = std::make_shared<TEffectPoint>();
    point->x = x;
    point->y = y;
    point->z = kSpiralDepth;
    point->speed = 3;
    point->state = EFFECT_SPIRAL;
    return point;
}

}  // namespace vesk
