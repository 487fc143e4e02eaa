// Building blocks of the synthesiser. Everything here uses plain IEEE
// arithmetic (no library maths), so the music comes out bit for bit the same
// on every build: sine and exponential are polynomials, oscillators run on
// 32-bit phase accumulators and noise is an integer generator.
#pragma once

#include <cstdint>

namespace vesk::assetgen {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// sin(2 pi phase) for any phase; about six correct digits.
inline double SineTurns(double phase) {
    double t = phase - double(std::int64_t(phase));
    if (t < 0) t += 1;
    double x = t * 4;                              // quarter turns, 0..4
    double s = x < 1 ? x : x < 3 ? 2 - x : x - 4;  // folded to -1..1, where sin(pi/2 s) applies
    double s2 = s * s;
    return s *
           (1.5707963268 -
            s2 * (0.6459640619 - s2 * (0.0796926262 - s2 * (0.0046817541 - s2 * 0.0001604411))));
}

// e^x for x <= 0 (envelopes and decay rates): halve until small, a short
// series, then square back.
inline double ExpNegative(double x) {
    if (x < -60) return 0;
    int halvings = 0;
    while (x < -0.125) {
        x *= 0.5;
        ++halvings;
    }
    double y = 1 + x * (1 + x * (0.5 + x * (1.0 / 6 + x * (1.0 / 24 + x / 120))));
    while (halvings-- > 0) y *= y;
    return y;
}

// The per-sample factor that makes a level fall to 1/e in the given time.
inline float DecayPerSample(double seconds) { return float(ExpNegative(-1.0 / (seconds * kRate))); }

// 2^(k/12) for k = 0..11, written out so no library power function is used.
inline double SemitoneRatio(int k) {
    static const double ratios[12] = {1.0,
                                      1.0594630943592953,
                                      1.1224620483093730,
                                      1.1892071150027210,
                                      1.2599210498948732,
                                      1.3348398541700344,
                                      1.4142135623730951,
                                      1.4983070768766815,
                                      1.5874010519681994,
                                      1.6817928305074290,
                                      1.7817974362806785,
                                      1.8877486253633870};
    return ratios[k];
}

// Frequency of a MIDI note number (69 is A at 440 Hz).
inline double NoteFrequency(int note) {
    int fromA0 = note - 21;  // A0, 27.5 Hz
    double f = 27.5 * SemitoneRatio(fromA0 % 12);
    for (int octave = fromA0 / 12; octave > 0; --octave) f *= 2;
    return f;
}

inline std::uint32_t PhaseStep(double frequency) {
    return std::uint32_t(frequency / kRate * 4294967296.0);
}

// A white-noise source, -1..1, from a 32-bit xorshift generator.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    float Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return float(std::int32_t(state_)) * (1.0f / 2147483648.0f);
    }

private:
    std::uint32_t state_;
};

// Band-limited saw and pulse by the polynomial BLEP correction at each edge.
inline float PolyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return float(t + t - t * t - 1);
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return float(t * t + t + t + 1);
    }
    return 0;
}

class Oscillator {
public:
    void SetFrequency(double hz) { step_ = PhaseStep(hz); }
    void SetPhase(std::uint32_t phase) { phase_ = phase; }
    float Saw() {
        double t = phase_ * (1.0 / 4294967296.0), dt = step_ * (1.0 / 4294967296.0);
        float v = float(2 * t - 1) - PolyBlep(t, dt);
        phase_ += step_;
        return v;
    }
    // width is the share of the cycle spent high, 0..1.
    float Pulse(double width) {
        double t = phase_ * (1.0 / 4294967296.0), dt = step_ * (1.0 / 4294967296.0);
        double t2 = t + (1 - width);
        if (t2 >= 1) t2 -= 1;
        float v = (t < width ? 1.0f : -1.0f) + PolyBlep(t, dt) - PolyBlep(t2, dt);
        phase_ += step_;
        return v;
    }
    float Sine() {
        float v = float(SineTurns(phase_ * (1.0 / 4294967296.0)));
        phase_ += step_;
        return v;
    }

private:
    std::uint32_t phase_ = 0;
    std::uint32_t step_ = 0;
};

// Chamberlin state-variable filter; fine for cutoffs below a fifth of the
// sample rate, which is all the instruments ask of it.
class Svf {
public:
    void Set(double cutoff, double resonance) {
        if (cutoff > kRate / 5.0) cutoff = kRate / 5.0;
        f_ = float(2 * SineTurns(cutoff / (2.0 * kRate)));
        q_ = float(1 / resonance);
    }
    void Run(float in) {
        low_ += f_ * band_;
        high_ = in - low_ - q_ * band_;
        band_ += f_ * high_;
    }
    float Low() const { return low_; }
    float Band() const { return band_; }
    float High() const { return high_; }

private:
    float f_ = 0.1f, q_ = 1.0f;
    float low_ = 0, band_ = 0, high_ = 0;
};

}  // namespace vesk::assetgen
