// The shared effects and the master: a ping-pong echo, a small room, and the
// master chain (DC blocking, the score's gain line, a soft limiter and the
// final scaling to 16 bits). Each keeps its state from one block to the
// next, so the track can be made in blocks of any size with the same result.
#pragma once

#include <cstdint>
#include <vector>

#include "music/timeline.h"

namespace vesk::assetgen {

// A delay line of fixed length; Read gives the sample written length
// writes ago.
class DelayLine {
public:
    explicit DelayLine(std::size_t length) : buffer_(length, 0.0f) {}
    float Read() const { return buffer_[at_]; }
    void Write(float value) {
        buffer_[at_] = value;
        if (++at_ == buffer_.size()) at_ = 0;
    }

private:
    std::vector<float> buffer_;
    std::size_t at_ = 0;
};

// Echo of an interleaved stereo bus, bouncing between the sides.
class PingPongEcho {
public:
    PingPongEcho(long delayFrames, float feedback)
        : left_(std::size_t(delayFrames)), right_(std::size_t(delayFrames)), feedback_(feedback) {}
    // Adds the echoes of `frames` frames of in to out.
    void Run(const float* in, float* out, long frames);

private:
    DelayLine left_, right_;
    const float feedback_;
    float tone_ = 0;
};

// One side of the room: parallel combs, then series all-passes.
class RoomSide {
public:
    explicit RoomSide(std::size_t spread);
    float Run(float in);

private:
    struct Comb {
        DelayLine line;
        float store = 0;
    };
    std::vector<Comb> combs_;
    std::vector<DelayLine> allPasses_;
};

// A small room; the right side uses slightly longer lines so the two sides
// decorrelate into width.
class Room {
public:
    Room() : left_(0), right_(23) {}
    // Adds the room's answer to `frames` frames of in to out.
    void Run(const float* in, float* out, long frames);

private:
    RoomSide left_, right_;
};

// The finished piece: trimmed, limited, the score's gain line applied, and
// scaled so that the mix's loudest sample lands at peak, a share of full
// scale. No block knows that loudest sample before the whole track is
// made, so it comes from the score, and the master reports the one it met.
class Master {
public:
    Master(std::vector<GainPoint> gain, float trim, float peak, float loudest);
    // Masters `frames` frames of the mix (overwritten on the way) into pcm;
    // first is the track's frame the block starts at.
    void Run(float* mix, std::int16_t* pcm, long first, long frames);
    // The loudest sample met so far before scaling.
    float Loudest() const { return loudest_; }

private:
    std::vector<GainPoint> gain_;
    std::size_t segment_ = 0;
    const float trim_, scale_;
    float inL_ = 0, inR_ = 0, outL_ = 0, outR_ = 0;
    float loudest_ = 0;
};

}  // namespace vesk::assetgen
