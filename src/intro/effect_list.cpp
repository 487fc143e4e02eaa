#include "intro/effects.h"

#include <vesk/graphics/draw_state.h>
#include "intro/screen.h"
#include "intro/show_math.h"

#include <cmath>
#include <numbers>

namespace vesk {

void TEffectList::Append(TEffectPointRef point) { points_.push_back(std::move(point)); }

void TEffectList::Remove(const TEffectPoint* point) {
    for (auto node = points_.begin(); node != points_.end(); ++node) {
        if (node->get() != point) continue;
        if (traversing_ && node == cursor_) ++cursor_;
        points_.erase(node);
        return;
    }
}

void TEffectList::UpdateAll() {
    traversing_ = true;
    cursor_ = points_.begin();
    while (cursor_ != points_.end()) {
        // Hold the point, so that removing it cannot release it mid-update.
        const TEffectPointRef point = *cursor_;
        const TNode current = cursor_;
        ++cursor_;
        if (point->Update() < EFFECT_DEAD) {
            point->Draw();
        } else {
            points_.erase(current);
        }
    }
    traversing_ = false;
    SetDrawColor(255, 255, 255);
}

void TEffectSpawner::Spawn(TEffectList& list, int32_t effectLevel, int32_t centis) {
    if (effectLevel >= 1) {
        if (spawnCount < kMaxStars) list.Append(NewStar());
        spawnCount = WrappingAdd(spawnCount, 1);
    }
    if (effectLevel < 2) return;
    for (int k = 0; k < 5; ++k) {
        const long double radians = SpiralArmAngle(centis, k) * (std::numbers::pi_v<long double> / 180);
        list.Append(NewSpiralPoint(static_cast<double>(kShowCentreX * std::cos(radians)),
                                   static_cast<double>(-kShowCentreX * std::sin(radians))));
    }
}

long double SpiralArmAngle(int32_t centis, int k) {
    // 0.9 as a single-precision constant, the quotient in extended precision:
    // the arms turn by 100 / 0.9 degrees a second.
    return static_cast<long double>(centis) / static_cast<long double>(0.9f) + 72 * k;
}

}  // namespace vesk
