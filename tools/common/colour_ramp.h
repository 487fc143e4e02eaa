// A colour ramp given by stops at integer positions; colours between two
// stops are interpolated with integer arithmetic so every build agrees.
#pragma once

#include <string>
#include <vector>

#include "common/tga_writer.h"

namespace vesk::assetgen {

class ColourRamp {
public:
    // Stops must be added in rising position order.
    void AddStop(int position, Rgb colour);
    bool Empty() const { return stops_.empty(); }
    Rgb At(int position) const;

private:
    struct Stop {
        int position;
        Rgb colour;
    };
    std::vector<Stop> stops_;
};

// Mixes a towards b by weight / 256, rounding to nearest.
Rgb Mix(Rgb a, Rgb b, int weight);
// Parses three words 0..255 starting at index first; raises std::runtime_error.
Rgb ParseRgb(const std::vector<std::string>& words, std::size_t first);

}  // namespace vesk::assetgen
