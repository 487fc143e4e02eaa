// The logo's readable source: canvas, letter cells drawn as text art, and
// the colours of the fill ramp, bevel, outline and shadow.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/colour_ramp.h"
#include "common/tga_writer.h"

namespace vesk::assetgen {

struct LogoSource {
    int width = 450;
    int height = 104;
    int cell = 8;       // pixels per art cell
    int shearRows = 5;  // one pixel of slant for this many rows
    int gap = 1;        // cells between letters
    int outline = 3;    // pixels
    int bevel = 3;      // pixels
    int shadowX = 4, shadowY = 4;
    Rgb background{255, 0, 0};
    Rgb outlineColour{16, 12, 48};
    Rgb rimColour{255, 255, 255};
    Rgb shadowColour{40, 8, 60};
    Rgb light{255, 255, 255};
    Rgb shade{60, 0, 40};
    ColourRamp ramp;  // by pixel row of the letters, 0 at their top
    std::string word;
    std::map<char, std::vector<std::string>> letters;
};

LogoSource ReadLogoSource(const std::string& path);

}  // namespace vesk::assetgen
