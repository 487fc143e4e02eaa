// The engine's random number generator: a Park-Miller minimal standard
// generator (multiplier 48271, modulus 2^31 - 1). Its only user is the
// intro's effect objects. The state starts at 4660 and the intro never
// reseeds it, so every run draws the same sequence.
#pragma once

#include <cstdint>

namespace vesk {

inline constexpr int32_t kRandomStartState = 4660;

// Makes the state value AND 2147483647; the two values the generator cannot
// leave (0 and 2147483647) become 4660 instead.
void SeedRandom(int32_t value);
int32_t RandomState();

// One generator step; returns the new state, in 1 .. 2147483646.
int32_t NextRandomState();

// A double in [0, 1) built from two steps.
double RandomDouble();

// A double between the two bounds, whichever of them is the larger.
double RandomInRange(double a, double b);

}  // namespace vesk
