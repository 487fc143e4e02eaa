// Writing pictures in the one form the intro's TGA assets use: uncompressed
// true colour (image type 2), 24 bits per pixel, no image ID, rows stored
// bottom-up, closed by the 26-byte TGA 2.0 footer.
#pragma once

#include <cstdint>
#include <vector>

namespace vesk::assetgen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A picture held top row first, as it is drawn.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Picture(int w, int h, Rgb fill) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Rgb& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

std::vector<std::uint8_t> EncodeTga(const Picture& picture);

}  // namespace vesk::assetgen
