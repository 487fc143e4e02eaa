// The shared effects and the master: a ping-pong echo, a small room, and the
// master chain (DC blocking, the score's gain line, a soft limiter and the
// final scaling to 16 bits).
#pragma once

#include <cstdint>
#include <vector>

#include "music/timeline.h"

namespace vesk::assetgen {

// Echo of an interleaved stereo bus, bouncing between the sides; the echoes
// are added to out.
void AddPingPongEcho(const std::vector<float>& in, long delayFrames, float feedback,
                     std::vector<float>& out);
// A room of parallel combs and series all-passes per side, added to out.
void AddRoom(const std::vector<float>& in, std::vector<float>& out);
// The finished piece: trimmed, limited, the score's gain line applied, and
// scaled so the loudest sample lands at peak (a share of full scale).
std::vector<std::int16_t> Master(std::vector<float>& mix, const std::vector<GainPoint>& gain,
                                 float trim, float peak);

}  // namespace vesk::assetgen
