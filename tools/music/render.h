// From score to samples: lay out the time line, play every note into the
// buses, add the echo and the room, and master to 16-bit stereo.
#pragma once

#include <cstdint>
#include <vector>

#include "music/score.h"

namespace vesk::assetgen {

// Interleaved left/right samples, score.frames frames.
std::vector<std::int16_t> RenderScore(const Score& score);

}  // namespace vesk::assetgen
