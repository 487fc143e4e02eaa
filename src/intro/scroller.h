// The scroller: a long text running through a window of 20 characters, drawn
// at three times the glyphs' size. Lower-case letters in the text are control
// letters: when one enters the window it switches the motion (a straight
// line, a sine wave or a circle, with or without swinging rotation) or the
// effect objects. The motion follows the show's clock, one character every
// 0.16 s on the line and the wave and every 0.18 s on the circle.
#pragma once

#include <vesk/graphics/image.h>
#include <vesk/runtime/text.h>

#include <array>
#include <cstdint>

namespace vesk {

inline constexpr int kScrollWindow = 20;

// Motion modes: tens choose the path, units the swinging rotation.
enum : int32_t {
    SCROLL_LINE = 0,
    SCROLL_LINE_SWING = 1,
    SCROLL_WAVE = 10,
    SCROLL_WAVE_SWING = 11,
    SCROLL_CIRCLE = 20,
    SCROLL_CIRCLE_SWING = 21,
};

// Where and how one window slot's glyph is drawn this frame.
struct TSlotPlacement {
    char16_t character = u' ';
    float rotation = 0;
    int32_t x = 0;
    int32_t y = 0;
    float alpha = 1;
};

struct TScroller {
    Text scrollText;
    int32_t scrollLength = 0;
    int32_t scrollPos = 0;  // index of the first character in the window
    int32_t scrollMode = SCROLL_LINE;
    int32_t effectLevel = 0;  // 1 brings stars, 2 adds spiral points
    int32_t charPitch = 0;    // pixels, or degrees of the circle
    int32_t scrollOffset = 0;
    double prevScrollOffset = 0;

    // Takes the text and starts from its beginning in line mode.
    void Reset(Text text);
    // Moves the window to the clock; makes at most one step of one character,
    // when the offset has wrapped since the previous frame.
    void Advance(int32_t centis);
    // Applies a control letter; any other character changes nothing.
    void ApplyControl(char16_t letter);
    // Slot 0 is the leftmost character, 19 the one entering the window.
    TSlotPlacement PlaceSlot(int slot, int32_t centis) const;
};

// The scroller step of a frame: advance, then draw the 20 slots with the
// glyph images, and leave scale 1 x 1, alpha 1 and rotation 0 behind.
void RunScrollerStep(TScroller& scroller, const std::array<TImageRef, 256>& glyphTable, int32_t centis);

}  // namespace vesk
