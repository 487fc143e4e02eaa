// The logo, drawn as one image per pixel row so that each row can be moved
// sideways on its own. The wave fades in from the bottom row up, two and a
// half seconds into the show, and ripples the whole logo from 7.2 s on.
#pragma once

#include <vesk/graphics/image.h>

#include <cstdint>
#include <vector>

namespace vesk {

// Where the unshifted logo's top-left lies for a picture of this size: centred
// across, 10 pixels above the middle.
int32_t PictureX(int32_t width);
int32_t PictureY(int32_t height);

// The wave's strength, 0 to 100, for a row whose phase is t.
int32_t RowAmplitude(int32_t t);
// How far row `row` is moved sideways at the given clock, in pixels.
double RowShift(int32_t centis, int32_t row);

// Draws every row at its shifted place.
void DrawPictureRows(const std::vector<TImageRef>& rows, int32_t width, int32_t centis);

}  // namespace vesk
