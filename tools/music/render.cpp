#include "music/render.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>
#include <string>

namespace vesk::assetgen {

namespace {

// The echo repeats on the dotted eighth of the piece's main tempo.
constexpr long kEchoFrames = 15625;
constexpr float kEchoFeedback = 0.42f;
// The mix is trimmed so that only the loudest hits reach the limiter.
constexpr float kTrim = 0.5f;
constexpr float kPeak = 0.891f;  // 1 dB below full scale
// The buses hold this many frames at most; longer requests are made in
// several blocks.
constexpr long kLargestBlock = 4096;

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

float LevelOf(const Score& score, Voice voice) {
    auto found = score.levels.find(VoiceName(voice));
    return found == score.levels.end() ? 1.0f : found->second;
}

const Score& Checked(const Score& score) {
    if (score.frames <= 0) throw std::runtime_error("the score needs a length in frames");
    if (!score.loudest) throw std::runtime_error("the score needs a 'loudest' line");
    CheckLevelNames(score);
    return score;
}

std::string Exact(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}

}  // namespace

MusicRenderer::MusicRenderer(const Score& score)
    : timeline_(BuildTimeline(Checked(score))),
      echo_(kEchoFrames, kEchoFeedback),
      master_(timeline_.gain, kTrim, kPeak, *score.loudest) {
    for (const NoteEvent& note : timeline_.notes) levels_.push_back(LevelOf(score, note.voice));
    byStart_.resize(timeline_.notes.size());
    for (std::size_t i = 0; i < byStart_.size(); ++i) byStart_[i] = i;
    std::stable_sort(byStart_.begin(), byStart_.end(), [this](std::size_t a, std::size_t b) {
        return timeline_.notes[a].start < timeline_.notes[b].start;
    });
}

long MusicRenderer::Render(std::int16_t* out, long count) {
    const long frames = std::clamp(Frames() - position_, 0L, std::max(count, 0L));
    for (long done = 0; done < frames;) {
        const long block = std::min(frames - done, kLargestBlock);
        RenderBlock(out + done * 2, block);
        done += block;
    }
    return frames;
}

// Notes join in the order of the time line, which is the order their
// samples are added into a frame: the sums come out as in one whole pass.
void MusicRenderer::StartNotesBefore(long end) {
    for (; nextToStart_ < byStart_.size(); ++nextToStart_) {
        const std::size_t index = byStart_[nextToStart_];
        const NoteEvent& note = timeline_.notes[index];
        if (note.start >= end) break;
        if (note.voice == Voice::kKick) ducking_.push_back(StartKickDuck(note));
        auto at = std::upper_bound(sounding_.begin(), sounding_.end(), index,
                                   [](std::size_t i, const Sounding& s) { return i < s.index; });
        sounding_.insert(at, Sounding{index, StartNote(note, levels_[index])});
    }
}

// Plays every player of the list, in order, up to end, and drops those
// that have finished.
template <class List, class PlayerOf>
void MusicRenderer::PlayAll(List& list, long end, PlayerOf playerOf) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!playerOf(list[i]).PlayUntil(end, buses_)) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(kept), list.end());
}

void MusicRenderer::RenderBlock(std::int16_t* out, long frames) {
    const long end = position_ + frames;
    buses_.Start(position_, end);
    StartNotesBefore(end);
    // The kicks' pumping first: the ducked notes read it.
    PlayAll(ducking_, end, [](auto& duck) -> NotePlayer& { return *duck; });
    PlayAll(sounding_, end, [](Sounding& note) -> NotePlayer& { return *note.player; });
    float* mix = buses_.Dry().data();
    echo_.Run(buses_.Echo().data(), mix, frames);
    room_.Run(buses_.Room().data(), mix, frames);
    master_.Run(mix, out, position_, frames);
    position_ = end;
}

std::vector<std::int16_t> RenderScore(const Score& score) {
    MusicRenderer renderer(score);
    std::vector<std::int16_t> pcm(std::size_t(renderer.Frames()) * 2);
    renderer.Render(pcm.data(), renderer.Frames());
    if (renderer.Loudest() != *score.loudest)
        throw std::runtime_error("the mix's loudest sample is " + Exact(renderer.Loudest()) +
                                 ", not " + Exact(*score.loudest) + ": write 'loudest " +
                                 Exact(renderer.Loudest()) + "' in the score");
    return pcm;
}

}  // namespace vesk::assetgen
