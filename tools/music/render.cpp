#include "music/render.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "music/buses.h"
#include "music/effects.h"
#include "music/instruments.h"
#include "music/timeline.h"

namespace vesk::assetgen {

namespace {

// The echo repeats on the dotted eighth of the piece's main tempo.
constexpr long kEchoFrames = 15625;
constexpr float kEchoFeedback = 0.42f;
// The mix is trimmed so that only the loudest hits reach the limiter.
constexpr float kTrim = 0.5f;
constexpr float kPeak = 0.891f;  // 1 dB below full scale

// Names as the score's "level" lines give them, in the order of Voice.
const char* const kVoiceNames[] = {"kick", "snare", "clap", "hat", "ohat", "crash", "tom",
                                   "boom", "bass",  "pad",  "arp", "lead", "riser"};

const char* VoiceName(Voice voice) { return kVoiceNames[int(voice)]; }

// A misspelt instrument in a "level" line would otherwise be ignored.
void CheckLevelNames(const Score& score) {
    for (const auto& [name, level] : score.levels)
        if (std::find(std::begin(kVoiceNames), std::end(kVoiceNames), name) ==
            std::end(kVoiceNames))
            throw std::runtime_error("no instrument called " + name);
}

// Each kick pushes the ducked instruments down at once and lets them swell
// back within a beat: the pumping that locks pads and bass to the beat.
std::vector<float> KickDuckCurve(const Timeline& timeline) {
    std::vector<float> curve(std::size_t(timeline.frames), 0.0f);
    const float recover = DecayPerSample(0.075);
    const long attack = 220, length = kRate / 2;
    for (const NoteEvent& note : timeline.notes) {
        if (note.voice != Voice::kKick) continue;
        float depth = note.velocity;
        for (long t = 0; t < length && note.start + t < timeline.frames; ++t) {
            float d = t < attack ? note.velocity * float(t) / attack : depth;
            float& here = curve[std::size_t(note.start + t)];
            if (d > here) here = d;
            if (t >= attack) depth *= recover;
        }
    }
    return curve;
}

float LevelOf(const Score& score, Voice voice) {
    auto found = score.levels.find(VoiceName(voice));
    return found == score.levels.end() ? 1.0f : found->second;
}

}  // namespace

std::vector<std::int16_t> RenderScore(const Score& score) {
    if (score.frames <= 0) throw std::runtime_error("the score needs a length in frames");
    CheckLevelNames(score);
    Timeline timeline = BuildTimeline(score);
    Buses buses(timeline.frames);
    buses.SetDuckCurve(KickDuckCurve(timeline));
    for (const NoteEvent& note : timeline.notes) PlayNote(note, LevelOf(score, note.voice), buses);
    std::vector<float>& mix = buses.Dry();
    AddPingPongEcho(buses.Echo(), kEchoFrames, kEchoFeedback, mix);
    AddRoom(buses.Room(), mix);
    return Master(mix, timeline.gain, kTrim, kPeak);
}

}  // namespace vesk::assetgen
