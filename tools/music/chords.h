// Chord symbols as the score writes them: a root (C, F#, Bb...), a quality
// ("", m, 7, m7, maj7, sus2, sus4, add9, madd9) and an optional "/bass".
#pragma once

#include <string>
#include <vector>

namespace vesk::assetgen {

struct Chord {
    int root = 0;                // pitch class, C = 0
    int bass = 0;                // pitch class of the bass note
    std::vector<int> intervals;  // semitones above the root, rising
};

// Raises std::runtime_error for a symbol it does not know.
Chord ParseChord(const std::string& symbol);
// A pitch class from a note letter and accidentals at the start of text;
// used tells how many characters it took.
int ParsePitchClass(const std::string& text, std::size_t& used);
// A note name with octave, C4 = 60 (A4 = 69, 440 Hz).
int ParseNote(const std::string& token);

}  // namespace vesk::assetgen
