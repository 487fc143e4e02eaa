#include "music/chords.h"

#include <map>
#include <stdexcept>

namespace vesk::assetgen {

int ParsePitchClass(const std::string& text, std::size_t& used) {
    static const std::map<char, int> letters{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                             {'G', 7}, {'A', 9}, {'B', 11}};
    auto letter = text.empty() ? letters.end() : letters.find(text[0]);
    if (letter == letters.end()) throw std::runtime_error("not a note: " + text);
    int pc = letter->second;
    used = 1;
    for (; used < text.size() && (text[used] == '#' || text[used] == 'b'); ++used)
        pc += text[used] == '#' ? 1 : -1;
    return (pc + 12) % 12;
}

int ParseNote(const std::string& token) {
    std::size_t used = 0;
    int pc = ParsePitchClass(token, used);
    if (used >= token.size()) throw std::runtime_error("a note needs an octave: " + token);
    int octave = std::stoi(token.substr(used));
    return 12 * (octave + 1) + pc;
}

Chord ParseChord(const std::string& symbol) {
    static const std::map<std::string, std::vector<int>> qualities{
        {"", {0, 4, 7}},       {"m", {0, 3, 7}},        {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}}, {"maj7", {0, 4, 7, 11}}, {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},   {"add9", {0, 4, 7, 14}}, {"madd9", {0, 3, 7, 14}}};
    std::size_t slash = symbol.find('/');
    std::string head = symbol.substr(0, slash);
    Chord chord;
    std::size_t used = 0;
    chord.root = ParsePitchClass(head, used);
    auto quality = qualities.find(head.substr(used));
    if (quality == qualities.end()) throw std::runtime_error("unknown chord: " + symbol);
    chord.intervals = quality->second;
    chord.bass = chord.root;
    if (slash != std::string::npos) chord.bass = ParsePitchClass(symbol.substr(slash + 1), used);
    return chord;
}

}  // namespace vesk::assetgen
