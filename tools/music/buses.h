// Where the instruments play into: three interleaved stereo buffers, one
// straight to the mix, one to the echo and one to the room.
#pragma once

#include <utility>
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
    explicit Buses(long frames)
        : frames_(frames), dry_(std::size_t(frames) * 2), echo_(dry_.size()), room_(dry_.size()) {}

    long Frames() const { return frames_; }
    // The kick's pumping: for every frame, how far a fully ducked note is
    // pushed down (0 none, 1 to silence). Empty until set.
    void SetDuckCurve(std::vector<float> curve) { duck_ = std::move(curve); }
    // Adds a mono sample at a frame along a route.
    void Add(long frame, float sample, const Route& route);
    void AddStereo(long frame, float left, float right, const Route& route);

    std::vector<float>& Dry() { return dry_; }
    std::vector<float>& Echo() { return echo_; }
    std::vector<float>& Room() { return room_; }

private:
    static void AddTo(std::vector<float>& bus, long frame, float left, float right) {
        bus[std::size_t(frame) * 2] += left;
        bus[std::size_t(frame) * 2 + 1] += right;
    }

    long frames_;
    std::vector<float> dry_, echo_, room_;
    std::vector<float> duck_;
};

inline void Buses::Add(long frame, float sample, const Route& route) {
    AddStereo(frame, sample, sample, route);
}

inline void Buses::AddStereo(long frame, float left, float right, const Route& route) {
    if (frame < 0 || frame >= frames_) return;
    if (route.duck != 0 && !duck_.empty()) {
        float keep = 1 - route.duck * duck_[std::size_t(frame)];
        left *= keep, right *= keep;
    }
    std::vector<float>* buses[3] = {&dry_, &echo_, &room_};
    for (int bus = 0; bus < 3; ++bus)
        if (route.gain[bus][0] != 0 || route.gain[bus][1] != 0)
            AddTo(*buses[bus], frame, left * route.gain[bus][0], right * route.gain[bus][1]);
}

}  // namespace vesk::assetgen
