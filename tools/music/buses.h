// Where the instruments play into: three interleaved stereo buffers, one
// straight to the mix, one to the echo and one to the room. The buses hold
// one block of the track at a time; notes address them by the track's frame
// numbers, and what falls outside the block (or past the track's end) is
// not theirs to keep.
#pragma once

#include <vector>

#include "music/dsp.h"

namespace vesk::assetgen {

struct Sends {
    float dry = 1.0f;
    float echo = 0.0f;
    float room = 0.0f;
    float duck = 0.0f;  // how deep the kick pushes the note down, 0..1
};

// A note's way into the buses: its place in the stereo field (equal power,
// -1 left .. 1 right) folded into the gain of each bus and side.
struct Route {
    float gain[3][2];  // dry, echo, room; left, right
    float duck;

    Route(float pan, const Sends& sends) : duck(sends.duck) {
        float left = float(SineTurns((pan + 1) / 8 + 0.25)),
              right = float(SineTurns((pan + 1) / 8));
        const float levels[3] = {sends.dry, sends.echo, sends.room};
        for (int bus = 0; bus < 3; ++bus)
            gain[bus][0] = left * levels[bus], gain[bus][1] = right * levels[bus];
    }
};

class Buses {
public:
    // Silent buses for frames [first, end) of the track, with no ducking.
    void Start(long first, long end) {
        first_ = first, end_ = end;
        const std::size_t samples = std::size_t(end - first) * 2;
        for (std::vector<float>* bus : {&dry_, &echo_, &room_}) bus->assign(samples, 0.0f);
        duck_.assign(std::size_t(end - first), 0.0f);
    }

    long First() const { return first_; }
    long End() const { return end_; }
    // The kick's pumping at a frame of the block: how far a fully ducked
    // note is pushed down (0 none, 1 to silence).
    float& DuckAt(long frame) { return duck_[std::size_t(frame - first_)]; }
    // Adds a mono sample at a frame along a route.
    void Add(long frame, float sample, const Route& route);
    void AddStereo(long frame, float left, float right, const Route& route);

    std::vector<float>& Dry() { return dry_; }
    std::vector<float>& Echo() { return echo_; }
    std::vector<float>& Room() { return room_; }

private:
    static void AddTo(std::vector<float>& bus, std::size_t at, float left, float right) {
        bus[at * 2] += left;
        bus[at * 2 + 1] += right;
    }

    long first_ = 0, end_ = 0;
    std::vector<float> dry_, echo_, room_;
    std::vector<float> duck_;
};

inline void Buses::Add(long frame, float sample, const Route& route) {
    AddStereo(frame, sample, sample, route);
}

inline void Buses::AddStereo(long frame, float left, float right, const Route& route) {
    if (frame < first_ || frame >= end_) return;
    const std::size_t at = std::size_t(frame - first_);
    if (route.duck != 0) {
        float keep = 1 - route.duck * duck_[at];
        left *= keep, right *= keep;
    }
    std::vector<float>* buses[3] = {&dry_, &echo_, &room_};
    for (int bus = 0; bus < 3; ++bus)
        if (route.gain[bus][0] != 0 || route.gain[bus][1] != 0)
            AddTo(*buses[bus], at, left * route.gain[bus][0], right * route.gain[bus][1]);
}

}  // namespace vesk::assetgen
