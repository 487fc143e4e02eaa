// Reading the generated asset files byte by byte, without the engine's
// readers, so that the tests check the files' forms on their own terms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::assettest {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFileBytes(const std::string& path);
std::uint32_t U16(const Bytes& bytes, std::size_t at);
std::uint32_t U32(const Bytes& bytes, std::size_t at);
std::string Tag(const Bytes& bytes, std::size_t at);  // four characters

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

// The pixels of a 24-bit uncompressed TGA stored bottom-up, addressed top
// row first.
class TgaPixels {
public:
    explicit TgaPixels(const Bytes& file);
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgb At(int x, int y) const;

private:
    const Bytes& file_;
    int width_, height_;
};

}  // namespace vesk::assettest
