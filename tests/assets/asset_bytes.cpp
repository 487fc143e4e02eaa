#include "asset_bytes.h"

#include <fstream>

namespace vesk::assettest {

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    Bytes bytes(in ? std::size_t(in.tellg()) : 0);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return bytes;
}

std::uint32_t U16(const Bytes& bytes, std::size_t at) {
    return std::uint32_t(bytes.at(at)) | std::uint32_t(bytes.at(at + 1)) << 8;
}

std::uint32_t U32(const Bytes& bytes, std::size_t at) {
    return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

std::string Tag(const Bytes& bytes, std::size_t at) {
    return std::string(bytes.begin() + long(at), bytes.begin() + long(at) + 4);
}

TgaPixels::TgaPixels(const Bytes& file)
    : file_(file), width_(int(U16(file, 12))), height_(int(U16(file, 14))) {}

Rgb TgaPixels::At(int x, int y) const {
    std::size_t at = 18 + (std::size_t(height_ - 1 - y) * width_ + x) * 3;
    return {file_.at(at + 2), file_.at(at + 1), file_.at(at)};
}

}  // namespace vesk::assettest
