#include "music/wav_writer.h"

#include "music/dsp.h"

namespace vesk::assetgen {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& interleaved) {
    const std::uint32_t dataBytes = std::uint32_t(interleaved.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 2);  // channels
    Put32(out, kRate);
    Put32(out, kRate * 4);  // bytes a second
    Put16(out, 4);          // bytes a frame
    Put16(out, 16);         // bits a sample
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (std::int16_t sample : interleaved) Put16(out, std::uint16_t(sample));
    return out;
}

}  // namespace vesk::assetgen
