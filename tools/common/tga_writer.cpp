#include "common/tga_writer.h"

#include <cstring>

namespace vesk::assetgen {

namespace {

void PutU16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(std::uint8_t(value & 0xFF));
    out.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void PutHeader(std::vector<std::uint8_t>& out, int width, int height) {
    out.push_back(0);             // no image ID
    out.push_back(0);             // no colour map
    out.push_back(2);             // uncompressed true colour
    out.insert(out.end(), 5, 0);  // colour map fields, unused
    PutU16(out, 0);               // x origin
    PutU16(out, 0);               // y origin
    PutU16(out, width);
    PutU16(out, height);
    out.push_back(24);
    out.push_back(0);  // origin bottom-left, no alpha bits
}

// No extension area and no developer directory: both offsets stay zero.
void PutFooter(std::vector<std::uint8_t>& out) {
    out.insert(out.end(), 8, 0);
    const char* signature = "TRUEVISION-XFILE.";
    out.insert(out.end(), signature, signature + std::strlen(signature) + 1);
}

}  // namespace

std::vector<std::uint8_t> EncodeTga(const Picture& picture) {
    std::vector<std::uint8_t> out;
    out.reserve(18 + picture.pixels.size() * 3 + 26);
    PutHeader(out, picture.width, picture.height);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const Rgb& c = picture.At(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
    }
    PutFooter(out);
    return out;
}

}  // namespace vesk::assetgen
