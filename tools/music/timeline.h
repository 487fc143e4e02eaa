// The score laid out in time: every note of every instrument with its first
// frame and length, and the master gain as a line through points. Sections
// with a time start exactly there; the sections up to the next timed one
// share the span evenly by beats, so each run has its own steady tempo.
#pragma once

#include <vector>

#include "music/score.h"

namespace vesk::assetgen {

enum class Voice {
    kKick,
    kSnare,
    kClap,
    kHat,
    kOpenHat,
    kCrash,
    kTom,
    kBoom,
    kBass,
    kPad,
    kArp,
    kLead,
    kRiser
};

struct NoteEvent {
    Voice voice;
    long start = 0;   // frame
    long length = 0;  // frames the note is held (drums ignore it)
    int pitch = 0;    // MIDI note number
    float velocity = 1.0f;
    float pan = 0.0f;  // -1 left .. 1 right
};

struct GainPoint {
    long frame;
    float gain;
};

struct Timeline {
    long frames = 0;
    std::vector<NoteEvent> notes;
    std::vector<GainPoint> gain;  // rising frames; linear between points
};

Timeline BuildTimeline(const Score& score);

}  // namespace vesk::assetgen
