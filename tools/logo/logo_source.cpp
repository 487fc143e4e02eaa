#include "logo/logo_source.h"

#include <stdexcept>

#include "common/text_source.h"

namespace vesk::assetgen {

namespace {

bool IsArtRow(const std::string& text) {
    return text.find_first_not_of(".#1379") == std::string::npos;
}

bool ReadPair(const std::vector<std::string>& w, const char* key, int& a, int& b) {
    if (w[0] != key || w.size() != 3) return false;
    a = std::stoi(w[1]);
    b = std::stoi(w[2]);
    return true;
}

bool ReadNumber(const std::vector<std::string>& w, const char* key, int& value) {
    if (w[0] != key || w.size() != 2) return false;
    value = std::stoi(w[1]);
    return true;
}

bool ReadColour(const std::vector<std::string>& w, const char* key, Rgb& colour) {
    if (w[0] != key || w.size() != 4) return false;
    colour = ParseRgb(w, 1);
    return true;
}

bool ReadSetting(LogoSource& s, const std::vector<std::string>& w) {
    if (w[0] == "ramp" && w.size() == 5) {
        s.ramp.AddStop(std::stoi(w[1]), ParseRgb(w, 2));
        return true;
    }
    if (w[0] == "word" && w.size() == 2) {
        s.word = w[1];
        return true;
    }
    return ReadPair(w, "canvas", s.width, s.height) || ReadNumber(w, "cell", s.cell) ||
           ReadNumber(w, "shear", s.shearRows) || ReadNumber(w, "gap", s.gap) ||
           ReadNumber(w, "outline", s.outline) || ReadNumber(w, "bevel", s.bevel) ||
           ReadPair(w, "shadow", s.shadowX, s.shadowY) ||
           ReadColour(w, "background", s.background) ||
           ReadColour(w, "outline-colour", s.outlineColour) ||
           ReadColour(w, "rim-colour", s.rimColour) ||
           ReadColour(w, "shadow-colour", s.shadowColour) || ReadColour(w, "light", s.light) ||
           ReadColour(w, "shade", s.shade);
}

}  // namespace

LogoSource ReadLogoSource(const std::string& path) {
    LogoSource source;
    std::vector<std::string>* art = nullptr;
    for (const SourceLine& line : ReadSourceLines(path)) {
        std::vector<std::string> words = SplitWords(line.text);
        if (words[0] == "letter" && words.size() == 2 && words[1].size() == 1) {
            art = &source.letters[words[1][0]];
        } else if (IsArtRow(line.text)) {
            if (art == nullptr) throw std::runtime_error(AtLine(line, "art row outside a letter"));
            art->push_back(line.text);
        } else if (!ReadSetting(source, words)) {
            throw std::runtime_error(AtLine(line, "unknown setting '" + words[0] + "'"));
        }
    }
    for (char ch : source.word)
        if (source.letters.find(ch) == source.letters.end())
            throw std::runtime_error(std::string("no art for letter ") + ch);
    return source;
}

}  // namespace vesk::assetgen
