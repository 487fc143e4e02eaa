// The intro's picture: a 768 x 576 window. The effects, the scroller and the
// logo are placed from its centre.
#pragma once

#include <cstdint>

namespace vesk {

inline constexpr int32_t kShowWidth = 768;
inline constexpr int32_t kShowHeight = 576;
inline constexpr int32_t kShowCentreX = kShowWidth / 2;
inline constexpr int32_t kShowCentreY = kShowHeight / 2;

}  // namespace vesk
