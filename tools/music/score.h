// The music's readable score: patterns written as text and sections that
// place them on the show's time line. See assets/music/score.txt for the
// language; this is its parsed form.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vesk::assetgen {

// One instrument's part in a section: the patterns it cycles through and a
// level for the whole part.
struct Part {
    std::vector<std::string> patterns;
    float level = 1.0f;
};

struct Section {
    std::string name;
    std::optional<double> at;  // seconds; sections without it follow on
    int beats = 0;
    float gainFrom = 1.0f, gainTo = 1.0f;
    std::vector<std::string> chords;    // one per bar; "F:G" splits a bar
    std::map<std::string, Part> parts;  // by instrument: drums, bass, pad, arp, lead, riser
    int line = 0;
};

// Drum lanes, one string of steps per drum, all of one length.
using DrumPattern = std::map<std::string, std::string>;

struct Score {
    long frames = 0;
    // The mix's loudest sample before it is scaled to 16 bits. The master
    // needs it from the first block on, so the score states it; the build
    // checks it against the track it makes.
    std::optional<float> loudest;
    std::map<std::string, float> levels;  // instrument mix levels
    std::map<std::string, DrumPattern> drums;
    std::map<std::string, std::string> rhythms;                // bass and arp step strings
    std::map<std::string, std::vector<std::string>> melodies;  // note tokens, one per step
    std::vector<Section> sections;
};

// Raises std::runtime_error naming the line of any mistake.
Score ReadScore(const std::string& path);
// The same for a score already in memory.
Score ParseScore(const std::string& text);

}  // namespace vesk::assetgen
