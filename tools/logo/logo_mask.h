// The logo's shape as a mask on the canvas, and the distances that its
// outline, shadow and bevel are measured by.
#pragma once

#include <cstdint>
#include <vector>

#include "logo/logo_source.h"

namespace vesk::assetgen {

struct Mask {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> on;
    std::vector<int> letterRow;  // row inside the letters, for the colour ramp; -1 off the mask

    Mask(int w, int h) : width(w), height(h), on(std::size_t(w) * h, 0), letterRow(on.size(), -1) {}
    bool At(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && on[std::size_t(y) * width + x];
    }
};

// The word's letters rasterised, slanted and centred on the canvas, leaving
// room for the outline and the shadow.
Mask RasteriseWord(const LogoSource& source);

// Chamfer (3-4) distance of every pixel to the nearest pixel whose mask
// value differs from want, in thirds of a pixel; 0 for pixels that do not
// have value want.
std::vector<int> ChamferDistance(const Mask& mask, bool want);

}  // namespace vesk::assetgen
