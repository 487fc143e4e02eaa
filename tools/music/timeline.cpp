#include "music/timeline.h"

#include <stdexcept>

#include "music/chords.h"
#include "music/dsp.h"

namespace vesk::assetgen {

namespace {

constexpr int kStepsPerBeat = 4;
constexpr int kStepsPerBar = 16;

// Where a section lies: its first frame and the length of one step.
struct Placement {
    double start = 0;  // frames, not rounded
    double step = 0;   // frames per sixteenth
    int steps = 0;

    long Frame(int s) const { return long(start + s * step + 0.5); }
};

std::vector<Placement> PlaceSections(const Score& score) {
    const auto& sections = score.sections;
    std::vector<Placement> places(sections.size());
    for (std::size_t first = 0; first < sections.size();) {
        std::size_t next = first + 1;
        int beats = sections[first].beats;
        for (; next < sections.size() && !sections[next].at; ++next) beats += sections[next].beats;
        double begin = *sections[first].at * kRate;
        double end = next < sections.size() ? *sections[next].at * kRate : double(score.frames);
        if (end <= begin)
            throw std::runtime_error("section " + sections[first].name + " is out of order");
        double step = (end - begin) / (beats * kStepsPerBeat);
        for (double at = begin; first < next; ++first) {
            places[first] = {at, step, sections[first].beats * kStepsPerBeat};
            at += places[first].steps * step;
        }
    }
    return places;
}

// The chord symbol sounding at a step, or "." for none.
std::string ChordSymbolAt(const Section& section, int step) {
    if (section.chords.empty()) return ".";
    const std::string& bar = section.chords[(step / kStepsPerBar) % section.chords.size()];
    std::size_t colon = bar.find(':');
    if (colon == std::string::npos) return bar;
    return (step % kStepsPerBar) < kStepsPerBar / 2 ? bar.substr(0, colon) : bar.substr(colon + 1);
}

// Steps until the next step that is not a hold ("-"), at least one.
template <typename StepAt>
int HeldSteps(StepAt isHold, int step, int steps) {
    int length = 1;
    while (step + length < steps && isHold(step + length)) ++length;
    return length;
}

class SectionBuilder {
public:
    SectionBuilder(const Score& score, const Section& section, const Placement& place,
                   Timeline& out)
        : score_(score), section_(section), place_(place), out_(out) {}

    void Build() {
        for (const auto& [instrument, part] : section_.parts) {
            if (instrument == "drums")
                Drums(part);
            else if (instrument == "bass")
                Bass(part);
            else if (instrument == "arp")
                Arp(part);
            else if (instrument == "pad")
                Pad(part);
            else if (instrument == "lead")
                Lead(part);
            else if (instrument == "riser")
                Add(Voice::kRiser, 0, place_.steps, 60, part.level, 0);
            else
                throw std::runtime_error("section " + section_.name + ": unknown part " +
                                         instrument);
        }
    }

private:
    void Add(Voice voice, int step, int steps, int pitch, float velocity, float pan) {
        long start = place_.Frame(step);
        out_.notes.push_back(
            {voice, start, place_.Frame(step + steps) - start, pitch, velocity, pan});
    }

    std::string Cycle(const Part& part, const std::map<std::string, std::string>& lanes,
                      const char* what) const {
        std::string steps;
        for (const std::string& name : part.patterns) {
            auto found = lanes.find(name);
            if (found == lanes.end())
                throw std::runtime_error(std::string("no ") + what + " " + name);
            steps += found->second;
        }
        if (steps.empty()) throw std::runtime_error("section " + section_.name + ": empty part");
        return steps;
    }

    void Drums(const Part& part);
    void DrumLane(const std::string& lane, const std::string& steps, float level);
    void Bass(const Part& part);
    void Arp(const Part& part);
    void Pad(const Part& part);
    void Lead(const Part& part);

    const Score& score_;
    const Section& section_;
    const Placement& place_;
    Timeline& out_;
};

float DrumVelocity(char c) { return c == 'X' ? 1.0f : c == 'o' ? 0.45f : 0.75f; }

void SectionBuilder::DrumLane(const std::string& lane, const std::string& steps, float level) {
    static const std::map<std::string, Voice> voices{
        {"kick", Voice::kKick}, {"snare", Voice::kSnare},  {"clap", Voice::kClap},
        {"hat", Voice::kHat},   {"ohat", Voice::kOpenHat}, {"crash", Voice::kCrash},
        {"tom", Voice::kTom},   {"boom", Voice::kBoom}};
    auto voice = voices.find(lane);
    if (voice == voices.end()) throw std::runtime_error("unknown drum " + lane);
    for (int s = 0; s < place_.steps; ++s) {
        char c = steps[s % steps.size()];
        if (c == '.') continue;
        // Toms take their pitch from the letter: high, mid or low.
        int pitch = c == 'h' ? 50 : c == 'm' ? 45 : c == 'l' ? 40 : 45;
        float pan = voice->second == Voice::kTom ? (pitch - 45) * 0.08f : 0.0f;
        Add(voice->second, s, 1, pitch, DrumVelocity(c) * level, pan);
    }
}

void SectionBuilder::Drums(const Part& part) {
    // Concatenate the patterns lane by lane; a lane a pattern lacks is silent.
    std::map<std::string, std::string> lanes;
    std::size_t total = 0;
    for (const std::string& name : part.patterns) {
        auto found = score_.drums.find(name);
        if (found == score_.drums.end()) throw std::runtime_error("no drums " + name);
        std::size_t length = found->second.empty() ? 0 : found->second.begin()->second.size();
        for (const auto& [lane, steps] : found->second) {
            if (steps.size() != length)
                throw std::runtime_error("drums " + name + ": uneven lanes");
            lanes[lane].resize(total, '.');
            lanes[lane] += steps;
        }
        total += length;
    }
    for (auto& [lane, steps] : lanes) {
        steps.resize(total, '.');
        DrumLane(lane, steps, part.level);
    }
}

// Bass notes sit between E1 and D#2; "o" is an octave up, "f" the fifth.
void SectionBuilder::Bass(const Part& part) {
    std::string steps = Cycle(part, score_.rhythms, "rhythm");
    auto at = [&](int s) { return steps[s % steps.size()]; };
    for (int s = 0; s < place_.steps; ++s) {
        char c = at(s);
        std::string symbol = ChordSymbolAt(section_, s);
        if (c == '.' || c == '-' || symbol == ".") continue;
        int bass = 28 + (ParseChord(symbol).bass - 4 + 12) % 12;
        int pitch = bass + (c == 'o' ? 12 : c == 'f' ? 7 : 0);
        Add(Voice::kBass, s, HeldSteps([&](int t) { return at(t) == '-'; }, s, place_.steps), pitch,
            part.level, 0);
    }
}

// Arpeggio digits pick chord tones upwards from a root between E4 and D#5;
// past the chord's last tone they climb into the next octave.
void SectionBuilder::Arp(const Part& part) {
    std::string steps = Cycle(part, score_.rhythms, "rhythm");
    auto at = [&](int s) { return steps[s % steps.size()]; };
    int count = 0;
    for (int s = 0; s < place_.steps; ++s) {
        char c = at(s);
        std::string symbol = ChordSymbolAt(section_, s);
        if (c < '1' || c > '9' || symbol == ".") continue;
        Chord chord = ParseChord(symbol);
        int index = c - '1', size = int(chord.intervals.size());
        int pitch =
            64 + (chord.root - 4 + 12) % 12 + chord.intervals[index % size] + 12 * (index / size);
        float pan = (count++ % 2 == 0) ? -0.5f : 0.5f;
        Add(Voice::kArp, s, HeldSteps([&](int t) { return at(t) == '-'; }, s, place_.steps), pitch,
            part.level, pan);
    }
}

// Pad chords in close position between G3 and F#4, held until the chord
// changes, spread a little across the stereo field.
void SectionBuilder::Pad(const Part& part) {
    for (int s = 0; s < place_.steps;) {
        std::string symbol = ChordSymbolAt(section_, s);
        int length =
            HeldSteps([&](int t) { return ChordSymbolAt(section_, t) == symbol; }, s, place_.steps);
        if (symbol != ".") {
            Chord chord = ParseChord(symbol);
            for (std::size_t i = 0; i < chord.intervals.size(); ++i) {
                int pitch = 55 + (chord.root + chord.intervals[i] - 7 + 24) % 12;
                float pan = (int(i) - int(chord.intervals.size() - 1) / 2) * 0.3f;
                Add(Voice::kPad, s, length, pitch, part.level, pan);
            }
        }
        s += length;
    }
}

void SectionBuilder::Lead(const Part& part) {
    std::vector<std::string> tokens;
    for (const std::string& name : part.patterns) {
        auto found = score_.melodies.find(name);
        if (found == score_.melodies.end()) throw std::runtime_error("no melody " + name);
        tokens.insert(tokens.end(), found->second.begin(), found->second.end());
    }
    if (tokens.empty()) return;
    auto at = [&](int s) { return tokens[s % tokens.size()]; };
    for (int s = 0; s < place_.steps; ++s) {
        const std::string token = at(s);
        if (token == "." || token == "-") continue;
        Add(Voice::kLead, s, HeldSteps([&](int t) { return at(t) == "-"; }, s, place_.steps),
            ParseNote(token), part.level, 0);
    }
}

}  // namespace

Timeline BuildTimeline(const Score& score) {
    Timeline timeline;
    timeline.frames = score.frames;
    std::vector<Placement> places = PlaceSections(score);
    for (std::size_t i = 0; i < score.sections.size(); ++i) {
        const Section& section = score.sections[i];
        try {
            SectionBuilder(score, section, places[i], timeline).Build();
        } catch (const std::exception& e) {
            throw std::runtime_error("section " + section.name + " (line " +
                                     std::to_string(section.line) + "): " + e.what());
        }
        timeline.gain.push_back({places[i].Frame(0), section.gainFrom});
        timeline.gain.push_back({places[i].Frame(places[i].steps), section.gainTo});
    }
    return timeline;
}

}  // namespace vesk::assetgen
