// make_logo: paints the channel's logo from the text art in assets/logo.
// Usage: make_logo <torvel.txt> <out.tga>
//
// Layers, back to front: the transparent background (pure red), a drop
// shadow, a dark outline with a light rim, and the letters filled with a
// vertical colour ramp and bevelled towards a light from the top left.
#include <algorithm>
#include <exception>
#include <iostream>

#include "common/file_output.h"
#include "common/tga_writer.h"
#include "logo/logo_mask.h"
#include "logo/logo_source.h"

namespace vesk::assetgen {
namespace {

struct Distances {
    std::vector<int> inside;   // to the nearest pixel off the letters
    std::vector<int> outside;  // to the nearest pixel on the letters
    int width;

    int In(int x, int y) const { return inside[std::size_t(y) * width + x]; }
    int Out(int x, int y) const { return outside[std::size_t(y) * width + x]; }
};

// Only the background may be the transparent colour.
Rgb Opaque(Rgb colour, Rgb background) {
    if (colour == background) colour.g = colour.g == 0 ? 1 : colour.g - 1;
    return colour;
}

bool InOutline(const LogoSource& s, const Distances& d, int x, int y) {
    return x >= 0 && y >= 0 && x < s.width && y < s.height && d.Out(x, y) <= s.outline * 3;
}

Rgb Bevelled(const LogoSource& s, const Distances& d, const Mask& mask, int x, int y) {
    Rgb base = s.ramp.At(mask.letterRow[std::size_t(y) * s.width + x]);
    if (d.In(x, y) > s.bevel * 3) return base;
    auto in = [&](int px, int py) { return mask.At(px, py) ? d.In(px, py) : 0; };
    // Measured over two pixels each way so that diagonal edges shade evenly.
    const int slope = in(x + 2, y + 2) - in(x - 2, y - 2) + in(x + 1, y + 1) - in(x - 1, y - 1);
    const int weight = std::clamp(slope * 12, -170, 170);
    return weight >= 0 ? Mix(base, s.light, weight) : Mix(base, s.shade, -weight);
}

Rgb PixelColour(const LogoSource& s, const Distances& d, const Mask& mask, int x, int y) {
    const Rgb bg = s.background;
    if (mask.At(x, y)) return Opaque(Bevelled(s, d, mask, x, y), bg);
    const int out = d.Out(x, y);
    if (out <= (s.outline - 1) * 3) return Opaque(s.outlineColour, bg);
    if (out <= s.outline * 3) return Opaque(s.rimColour, bg);
    if (InOutline(s, d, x - s.shadowX, y - s.shadowY)) return Opaque(s.shadowColour, bg);
    return bg;
}

Picture PaintLogo(const LogoSource& s) {
    Mask mask = RasteriseWord(s);
    Distances d{ChamferDistance(mask, true), ChamferDistance(mask, false), s.width};
    Picture picture(s.width, s.height, s.background);
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) picture.At(x, y) = PixelColour(s, d, mask, x, y);
    return picture;
}

}  // namespace
}  // namespace vesk::assetgen

int main(int argc, char** argv) {
    using namespace vesk::assetgen;
    if (argc != 3) {
        std::cerr << "usage: make_logo <torvel.txt> <out.tga>\n";
        return 2;
    }
    try {
        WriteFile(argv[2], EncodeTga(PaintLogo(ReadLogoSource(argv[1]))));
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
