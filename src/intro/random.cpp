#include "intro/random.h"

namespace vesk {
namespace {

constexpr int32_t kModulus = 2147483647;
constexpr int32_t kMultiplier = 48271;
// Schrage's decomposition of the modulus: q = m div a, r = m mod a. It keeps
// every intermediate product inside 32 bits.
constexpr int32_t kQuotient = 44488;
constexpr int32_t kRemainder = 3399;

int32_t state = kRandomStartState;

}  // namespace

void SeedRandom(int32_t value) {
    state = value & kModulus;
    if (state == 0 || state == kModulus) state = kRandomStartState;
}

int32_t RandomState() { return state; }

int32_t NextRandomState() {
    state = kMultiplier * (state % kQuotient) - kRemainder * (state / kQuotient);
    if (state < 0) state += kModulus;
    return state;
}

double RandomDouble() {
    // The first step gives the high 27 bits, the second the low ones; the
    // masks drop the weakest low bits of each.
    const int32_t high = NextRandomState() & 0x1FFFFFFC;
    const int32_t low = NextRandomState() & 0x1FFFFFF8;
    return (high + low / 134217728.0) / 536870912.0;
}

double RandomInRange(double a, double b) {
    const double r = RandomDouble();
    if (b > a) return a + r * (b - a);
    return b + r * (a - b);
}

}  // namespace vesk
