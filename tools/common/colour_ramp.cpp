#include "common/colour_ramp.h"

#include <stdexcept>
#include <string>

namespace vesk::assetgen {

namespace {

std::uint8_t MixComponent(int a, int b, int weight) {
    return std::uint8_t((a * (256 - weight) + b * weight + 128) >> 8);
}

int ParseComponent(const std::string& word) {
    std::size_t used = 0;
    int value = std::stoi(word, &used);
    if (used != word.size() || value < 0 || value > 255)
        throw std::runtime_error("colour component out of range: " + word);
    return value;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, int weight) {
    return {MixComponent(a.r, b.r, weight), MixComponent(a.g, b.g, weight),
            MixComponent(a.b, b.b, weight)};
}

Rgb ParseRgb(const std::vector<std::string>& words, std::size_t first) {
    if (words.size() < first + 3) throw std::runtime_error("a colour needs three components");
    return {std::uint8_t(ParseComponent(words[first])),
            std::uint8_t(ParseComponent(words[first + 1])),
            std::uint8_t(ParseComponent(words[first + 2]))};
}

void ColourRamp::AddStop(int position, Rgb colour) {
    if (!stops_.empty() && position <= stops_.back().position)
        throw std::runtime_error("ramp stops must rise");
    stops_.push_back({position, colour});
}

Rgb ColourRamp::At(int position) const {
    if (stops_.empty()) return {};
    if (position <= stops_.front().position) return stops_.front().colour;
    for (std::size_t i = 1; i < stops_.size(); ++i) {
        const Stop& low = stops_[i - 1];
        const Stop& high = stops_[i];
        if (position <= high.position) {
            int weight = (position - low.position) * 256 / (high.position - low.position);
            return Mix(low.colour, high.colour, weight);
        }
    }
    return stops_.back().colour;
}

}  // namespace vesk::assetgen
