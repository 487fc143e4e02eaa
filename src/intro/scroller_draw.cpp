#include "intro/scroller.h"

#include <vesk/graphics/draw_state.h>

namespace vesk {

void RunScrollerStep(TScroller& scroller, const std::array<TImageRef, 256>& glyphTable, int32_t centis) {
    SetBlendMode(BLEND_ALPHA);
    SetDrawScale(3, 3);
    scroller.Advance(centis);
    for (int slot = 0; slot < kScrollWindow; ++slot) {
        const TSlotPlacement place = scroller.PlaceSlot(slot, centis);
        SetDrawRotation(place.rotation);
        SetDrawAlpha(place.alpha);
        DrawImageFrame(glyphTable[place.character & 0xFF], static_cast<float>(place.x),
                       static_cast<float>(place.y), 0);
    }
    SetDrawScale(1, 1);
    SetDrawAlpha(1);
    SetDrawRotation(0);
}

}  // namespace vesk
