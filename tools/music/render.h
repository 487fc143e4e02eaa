// From score to samples: lay out the time line, play every note into the
// buses, add the echo and the room, and master to 16-bit stereo. The track
// comes out block by block, in blocks of any size the caller likes, with
// the same samples as one block of the whole track: the build writes the
// track's file with it, and a program can play the music as it is made.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "music/buses.h"
#include "music/effects.h"
#include "music/instruments.h"
#include "music/score.h"
#include "music/timeline.h"

namespace vesk::assetgen {

class MusicRenderer {
public:
    // Raises std::runtime_error for a score without a length, a level for no
    // instrument, or no statement of its loudest sample.
    explicit MusicRenderer(const Score& score);

    long Frames() const { return timeline_.frames; }
    // The next frame to come.
    long Position() const { return position_; }
    // The next `count` frames (fewer at the end of the track) as interleaved
    // left/right samples; returns how many frames were made.
    long Render(std::int16_t* out, long count);
    // The loudest sample before scaling, over the frames made so far.
    float Loudest() const { return master_.Loudest(); }

private:
    struct Sounding {
        std::size_t index;  // in the time line: notes add into a frame in this order
        std::unique_ptr<NotePlayer> player;
    };

    void RenderBlock(std::int16_t* out, long frames);
    void StartNotesBefore(long end);
    template <class List, class PlayerOf>
    void PlayAll(List& list, long end, PlayerOf playerOf);

    Timeline timeline_;
    std::vector<float> levels_;         // per note of the time line
    std::vector<std::size_t> byStart_;  // note indices in the order they start
    std::size_t nextToStart_ = 0;
    std::vector<Sounding> sounding_;  // by index
    std::vector<std::unique_ptr<NotePlayer>> ducking_;
    Buses buses_;
    PingPongEcho echo_;
    Room room_;
    Master master_;
    long position_ = 0;
};

// The whole track at once, interleaved left/right, score.frames frames.
// Raises std::runtime_error when the score's statement of its loudest sample
// is not the one the track has (the message names the right one).
std::vector<std::int16_t> RenderScore(const Score& score);

}  // namespace vesk::assetgen
