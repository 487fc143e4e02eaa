// The music's file form: RIFF WAVE, PCM, 2 channels, 44100 Hz, 16 bits, a
// 16-byte "fmt " chunk and one "data" chunk.
#pragma once

#include <cstdint>
#include <vector>

namespace vesk::assetgen {

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& interleaved);

}  // namespace vesk::assetgen
