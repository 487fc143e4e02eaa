#include "intro/effects.h"

#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include "intro/screen.h"

namespace vesk {

void TEffectPoint::Draw() const {
    if (state >= EFFECT_DEAD) return;
    const TProjection p = Project();
    const int32_t grey = GreyLevel();
    SetDrawColor(grey, grey, grey);
    FillRect(static_cast<float>(p.sx + kShowCentreX), static_cast<float>(p.sy + kShowCentreY), 3, 3);
}

}  // namespace vesk
