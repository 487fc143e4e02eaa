#include "music/instruments.h"

#include <algorithm>
#include <cstdint>

namespace vesk::assetgen {

namespace {

long Seconds(double s) { return long(s * kRate); }

// A voice that stops while it still sounds would click; the last 30 ms of
// every voice with a fixed length fade out.
float EndFade(long t, long length) {
    const long fade = Seconds(0.03);
    return t < length - fade ? 1.0f : float(length - t) / fade;
}

// Each note gets its own noise, seeded by where it starts, so that repeated
// drum hits are alike but not identical.
Noise NoiseFor(const NoteEvent& note, std::uint32_t salt) {
    return Noise(std::uint32_t(note.start) * 2654435761u ^ salt);
}

// A held note's level: a linear attack, full while held, then an
// exponential release after the note's length.
class HeldEnvelope {
public:
    HeldEnvelope(long held, double attack, double release)
        : held_(held), attack_(long(attack * kRate) + 1), release_(DecayPerSample(release)) {}
    float Next(long t) {
        if (t < held_)
            level_ = t < attack_ ? float(t) / attack_ : 1.0f;
        else
            level_ *= release_;
        return level_;
    }

private:
    long held_, attack_;
    float release_;
    float level_ = 0;
};

// The frame loop every instrument shares: Step (t, frame, buses) makes the
// note's sample t, which sounds at the track's frame start + t. Instruments
// keep their state in members where they once kept it in locals, and do the
// same arithmetic in the same order, so a note sounds the same in any blocks.
template <class Instrument>
class Player : public NotePlayer {
public:
    Player(long start, long length) : start_(start), length_(length) {}

    bool PlayUntil(long end, Buses& buses) final {
        Instrument& self = static_cast<Instrument&>(*this);
        const long stop = std::min(length_, end - start_);
        for (; t_ < stop; ++t_) self.Step(t_, start_ + t_, buses);
        return t_ < length_;
    }

protected:
    long Length() const { return length_; }

private:
    long start_, length_;
    long t_ = 0;
};

class Kick : public Player<Kick> {
public:
    Kick(const NoteEvent& n, float level)
        : Player(n.start, Seconds(0.9)), noise_(NoiseFor(n, 1)), amp_(n.velocity * level) {}
    void Step(long t, long frame, Buses& b) {
        phase_ += (44 + 120 * pitch_) / kRate;
        float attack = t < 60 ? t / 60.0f : EndFade(t, Length());
        float sample = float(SineTurns(phase_)) * amp_ * attack + noise_.Next() * click_ * amp_;
        b.Add(frame, sample, route_);
        pitch_ *= pitchFall_, amp_ *= ampFall_, click_ *= clickFall_;
    }

private:
    Route route_{0, {1, 0, 0.05f}};
    Noise noise_;
    float pitch_ = 1, amp_, click_ = 0.35f;
    const float pitchFall_ = DecayPerSample(0.032), ampFall_ = DecayPerSample(0.30),
                clickFall_ = DecayPerSample(0.0015);
    double phase_ = 0;
};

class Snare : public Player<Snare> {
public:
    Snare(const NoteEvent& n, float level)
        : Player(n.start, Seconds(0.5)),
          left_(NoiseFor(n, 2)),
          right_(NoiseFor(n, 3)),
          tone_(0.55f * n.velocity * level),
          hiss_(0.5f * n.velocity * level) {
        filterL_.Set(3800, 0.8), filterR_.Set(3800, 0.8);
        low_.SetFrequency(185), high_.SetFrequency(330);
    }
    void Step(long t, long frame, Buses& b) {
        const long length = Length();
        float body = (low_.Sine() + 0.5f * high_.Sine()) * tone_ * EndFade(t, length);
        filterL_.Run(left_.Next()), filterR_.Run(right_.Next());
        const float h = hiss_ * EndFade(t, length);
        b.AddStereo(frame, body + (filterL_.Band() + filterL_.High()) * h,
                    body + (filterR_.Band() + filterR_.High()) * h, route_);
        tone_ *= toneFall_, hiss_ *= hissFall_;
    }

private:
    Route route_{0, {1, 0, 0.3f}};
    Noise left_, right_;
    Svf filterL_, filterR_;
    Oscillator low_, high_;
    float tone_, hiss_;
    const float toneFall_ = DecayPerSample(0.045), hissFall_ = DecayPerSample(0.11);
};

class Clap : public Player<Clap> {
public:
    Clap(const NoteEvent& n, float level)
        : Player(n.start, Seconds(0.45)), noise_(NoiseFor(n, 4)), hit_(n.velocity * level * 1.6f) {
        filter_.Set(1300, 1.6);
    }
    void Step(long t, long frame, Buses& b) {
        // Three quick bursts, then the tail: a few hands not quite together.
        if (t == 0 || t == Seconds(0.010) || t == Seconds(0.021) || t == Seconds(0.032)) amp_ = hit_;
        filter_.Run(noise_.Next());
        b.Add(frame, filter_.Band() * amp_, route_);
        amp_ *= t < Seconds(0.032) ? burst_ : tail_;
    }

private:
    Route route_{0.1f, {1, 0, 0.45f}};
    Noise noise_;
    Svf filter_;
    const float hit_;
    const float tail_ = DecayPerSample(0.09), burst_ = DecayPerSample(0.005);
    float amp_ = 0;
};

// Six square waves at clashing frequencies under a high-pass filter give
// the metallic ring of hats and cymbals; noise adds the wash.
class Metal {
public:
    Metal(double scale, const NoteEvent& n, std::uint32_t salt) : noise_(NoiseFor(n, salt)) {
        static const double partials[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
        for (int i = 0; i < 6; ++i) {
            oscillators_[i].SetFrequency(partials[i] * scale);
            oscillators_[i].SetPhase(std::uint32_t(i) * 0x2A000000u);
        }
    }
    float Next(float noiseShare) {
        float sum = 0;
        for (Oscillator& o : oscillators_) sum += o.Pulse(0.5);
        return sum * (1 - noiseShare) / 6 + noise_.Next() * noiseShare;
    }

private:
    Oscillator oscillators_[6];
    Noise noise_;
};

class Hat : public Player<Hat> {
public:
    Hat(const NoteEvent& n, float level, double decay, float pan)
        : Player(n.start, Seconds(decay * 6)),
          route_(pan, {1, 0.1f, 0.12f}),
          metal_(1.7, n, 5),
          amp_(n.velocity * level * 0.7f),
          fall_(DecayPerSample(decay)) {
        filter_.Set(7800, 1.2);
    }
    void Step(long, long frame, Buses& b) {
        filter_.Run(metal_.Next(0.55f));
        b.Add(frame, filter_.High() * amp_, route_);
        amp_ *= fall_;
    }

private:
    Route route_;
    Metal metal_;
    Svf filter_;
    float amp_;
    const float fall_;
};

class Crash : public Player<Crash> {
public:
    Crash(const NoteEvent& n, float level)
        : Player(n.start, Seconds(3.5)), metalL_(2.3, n, 6), metalR_(2.37, n, 7), amp_(n.velocity * level * 0.6f) {
        filterL_.Set(5200, 0.9), filterR_.Set(5200, 0.9);
    }
    void Step(long t, long frame, Buses& b) {
        float attack = t < 40 ? t / 40.0f : EndFade(t, Length());
        filterL_.Run(metalL_.Next(0.7f)), filterR_.Run(metalR_.Next(0.7f));
        b.AddStereo(frame, filterL_.High() * amp_ * attack, filterR_.High() * amp_ * attack, route_);
        amp_ *= fall_;
    }

private:
    Route route_{0, {1, 0, 0.35f}};
    Metal metalL_, metalR_;
    Svf filterL_, filterR_;
    float amp_;
    const float fall_ = DecayPerSample(0.85);
};

class Tom : public Player<Tom> {
public:
    Tom(const NoteEvent& n, float level)
        : Player(n.start, Seconds(0.7)),
          route_(n.pan, {1, 0, 0.3f}),
          base_(NoteFrequency(n.pitch)),
          amp_(n.velocity * level * 0.9f) {}
    void Step(long, long frame, Buses& b) {
        phase_ += base_ * (1 + 0.7 * bend_) / kRate;
        b.Add(frame, float(SineTurns(phase_)) * amp_, route_);
        bend_ *= bendFall_, amp_ *= fall_;
    }

private:
    Route route_;
    const double base_;
    float bend_ = 1, amp_;
    const float bendFall_ = DecayPerSample(0.05), fall_ = DecayPerSample(0.16);
    double phase_ = 0;
};

// The low boom under the big hits: a sine falling from 60 to 30 Hz.
class Boom : public Player<Boom> {
public:
    Boom(const NoteEvent& n, float level) : Player(n.start, Seconds(4.0)), amp_(n.velocity * level) {}
    void Step(long t, long frame, Buses& b) {
        phase_ += (30 + 30 * bend_) / kRate;
        float attack = t < 200 ? t / 200.0f : EndFade(t, Length());
        b.Add(frame, float(SineTurns(phase_)) * amp_ * attack, route_);
        bend_ *= bendFall_, amp_ *= fall_;
    }

private:
    Route route_{0, {1, 0, 0.25f}};
    float bend_ = 1, amp_;
    const float bendFall_ = DecayPerSample(0.5), fall_ = DecayPerSample(1.1);
    double phase_ = 0;
};

// A saw and a sine for weight under a low-pass filter whose cutoff snaps
// open at each note and closes again.
class Bass : public Player<Bass> {
public:
    Bass(const NoteEvent& n, float level)
        : Player(n.start, n.length + Seconds(0.2)), env_(n.length, 0.003, 0.03), velocity_(n.velocity), level_(level) {
        const double f = NoteFrequency(n.pitch);
        saw_.SetFrequency(f), sub_.SetFrequency(f);
    }
    void Step(long t, long frame, Buses& b) {
        if (t % 8 == 0) filter_.Set(160 + 1500 * sweep_ * velocity_, 1.4);
        filter_.Run(saw_.Saw() * 0.7f + sub_.Sine() * 0.6f);
        b.Add(frame, filter_.Low() * env_.Next(t) * velocity_ * level_, route_);
        sweep_ *= sweepFall_;
    }

private:
    Route route_{0, {1, 0, 0.02f, 0.5f}};
    Oscillator saw_, sub_;
    HeldEnvelope env_;
    Svf filter_;
    const float velocity_, level_;
    float sweep_ = 1;
    const float sweepFall_ = DecayPerSample(0.11);
};

// Detuned saws, two for each side, softened by a low-pass filter: a slow
// swell that holds the chord.
class Pad : public Player<Pad> {
public:
    Pad(const NoteEvent& n, float level)
        : Player(n.start, n.length + Seconds(3.0)),
          route_(n.pan, {1, 0.0f, 0.5f, 0.6f}),
          env_(n.length, 0.35, 0.6),
          gain_(n.velocity * level * 0.25f) {
        static const double detune[4] = {0.99481430, 1.00231316, 0.99769217, 1.00521178};
        const double f = NoteFrequency(n.pitch);
        for (int i = 0; i < 4; ++i) {
            saws_[i].SetFrequency(f * detune[i]);
            // Modulo 2^32, as the phase accumulator wraps.
            saws_[i].SetPhase(std::uint32_t(n.start) * 7919u + std::uint32_t(i) * 0x40000000u);
        }
        filterL_.Set(1700, 0.8), filterR_.Set(1700, 0.8);
    }
    void Step(long t, long frame, Buses& b) {
        filterL_.Run(saws_[0].Saw() + saws_[1].Saw());
        filterR_.Run(saws_[2].Saw() + saws_[3].Saw());
        float e = env_.Next(t) * gain_;
        b.AddStereo(frame, filterL_.Low() * e, filterR_.Low() * e, route_);
    }

private:
    Route route_;
    Oscillator saws_[4];
    Svf filterL_, filterR_;
    HeldEnvelope env_;
    const float gain_;
};

// A bright bell-like pluck: a sine carrier under a sine modulator at three
// and a half times its pitch, the modulation fading faster than the note.
class Arp : public Player<Arp> {
public:
    Arp(const NoteEvent& n, float level)
        : Player(n.start, Seconds(1.0)),
          route_(n.pan, {0.8f, 0.45f, 0.3f, 0.35f}),
          f_(NoteFrequency(n.pitch)),
          // High notes get less modulation, keeping their sidebands below
          // half the sample rate.
          index_(f_ > 1200 ? float(1.6 * 1200 / f_) : 1.6f),
          amp_(n.velocity * level * 0.5f) {}
    void Step(long t, long frame, Buses& b) {
        // By a second the note has fallen 30 dB; the last tenth fades it out.
        const long length = Length(), fade = Seconds(0.1);
        modulator_ += f_ * 3.5 / kRate;
        carrier_ += f_ / kRate;
        float mod = float(SineTurns(modulator_)) * index_;
        float edge = t < 90 ? t / 90.0f : t > length - fade ? float(length - t) / fade : 1.0f;
        b.Add(frame, float(SineTurns(carrier_ + mod * 0.25)) * amp_ * edge, route_);
        index_ *= indexFall_, amp_ *= fall_;
    }

private:
    Route route_;
    const double f_;
    double carrier_ = 0, modulator_ = 0;
    float index_, amp_;
    const float indexFall_ = DecayPerSample(0.12), fall_ = DecayPerSample(0.3);
};

// Two detuned saws and a square an octave down, filtered with a touch of
// envelope and a vibrato that grows while the note is held.
class Lead : public Player<Lead> {
public:
    Lead(const NoteEvent& n, float level)
        : Player(n.start, n.length + Seconds(0.8)),
          f_(NoteFrequency(n.pitch)),
          env_(n.length, 0.006, 0.12),
          velocity_(n.velocity),
          level_(level) {}
    void Step(long t, long frame, Buses& b) {
        if (t % 8 == 0) Steer(t);
        vibrato_ += 5.6 / kRate;
        float sa = a_.Saw(), sc = c_.Saw();
        filter_.Run(sa * 0.5f + sc * 0.5f + sub_.Pulse(0.5) * 0.3f);
        float e = env_.Next(t) * velocity_ * level_ * 0.5f;
        // The two saws lean to opposite sides through the filter's output.
        float out = filter_.Low() * e;
        b.AddStereo(frame, out + (sa - sc) * e * 0.06f, out - (sa - sc) * e * 0.06f, route_);
        bright_ *= brightFall_;
    }

private:
    void Steer(long t) {
        double depth = t < Seconds(0.18)  ? 0
                       : t < Seconds(0.6) ? (t - Seconds(0.18)) / double(Seconds(0.42))
                                          : 1;
        double bend = 1 + 0.0045 * depth * SineTurns(vibrato_);
        a_.SetFrequency(f_ * bend * 0.9965), c_.SetFrequency(f_ * bend * 1.0035), sub_.SetFrequency(f_ * bend / 2);
        filter_.Set(1400 + 3200 * bright_, 1.1);
    }

    Route route_{0, {1, 0.42f, 0.3f}};
    Oscillator a_, c_, sub_;
    const double f_;
    HeldEnvelope env_;
    Svf filter_;
    const float velocity_, level_;
    float bright_ = 1;
    const float brightFall_ = DecayPerSample(0.3);
    double vibrato_ = 0;
};

// Filtered noise rising through the whole note: the build before a drop.
class Riser : public Player<Riser> {
public:
    Riser(const NoteEvent& n, float level)
        : Player(n.start, n.length), left_(NoiseFor(n, 8)), right_(NoiseFor(n, 9)), velocity_(n.velocity), level_(level) {}
    void Step(long t, long frame, Buses& b) {
        const long length = Length();
        double u = double(t) / length;
        if (t % 16 == 0) {
            double cutoff = 8500 * ExpNegative(-(1 - u) * 3.0);
            filterL_.Set(cutoff, 2.0), filterR_.Set(cutoff, 2.0);
        }
        filterL_.Run(left_.Next()), filterR_.Run(right_.Next());
        float amp = float(u * u) * velocity_ * level_ * 0.5f * EndFade(t, length);
        b.AddStereo(frame, filterL_.Band() * amp, filterR_.Band() * amp, route_);
    }

private:
    Route route_{0, {1, 0, 0.5f}};
    Noise left_, right_;
    Svf filterL_, filterR_;
    const float velocity_, level_;
};

// Each kick pushes the ducked instruments down at once and lets them swell
// back within a beat: the pumping that locks pads and bass to the beat.
class KickDuck : public Player<KickDuck> {
public:
    static constexpr long kAttack = 220;

    explicit KickDuck(const NoteEvent& n) : Player(n.start, kRate / 2), velocity_(n.velocity), depth_(n.velocity) {}
    void Step(long t, long frame, Buses& b) {
        float d = t < kAttack ? velocity_ * float(t) / kAttack : depth_;
        float& here = b.DuckAt(frame);
        if (d > here) here = d;
        if (t >= kAttack) depth_ *= recover_;
    }

private:
    const float velocity_;
    float depth_;
    const float recover_ = DecayPerSample(0.075);
};

}  // namespace

std::unique_ptr<NotePlayer> StartNote(const NoteEvent& note, float level) {
    switch (note.voice) {
        case Voice::kKick:
            return std::make_unique<Kick>(note, level);
        case Voice::kSnare:
            return std::make_unique<Snare>(note, level);
        case Voice::kClap:
            return std::make_unique<Clap>(note, level);
        case Voice::kHat:
            return std::make_unique<Hat>(note, level, 0.025, 0.3f);
        case Voice::kOpenHat:
            return std::make_unique<Hat>(note, level, 0.16, -0.3f);
        case Voice::kCrash:
            return std::make_unique<Crash>(note, level);
        case Voice::kTom:
            return std::make_unique<Tom>(note, level);
        case Voice::kBoom:
            return std::make_unique<Boom>(note, level);
        case Voice::kBass:
            return std::make_unique<Bass>(note, level);
        case Voice::kPad:
            return std::make_unique<Pad>(note, level);
        case Voice::kArp:
            return std::make_unique<Arp>(note, level);
        case Voice::kLead:
            return std::make_unique<Lead>(note, level);
        case Voice::kRiser:
            return std::make_unique<Riser>(note, level);
    }
    return nullptr;
}

std::unique_ptr<NotePlayer> StartKickDuck(const NoteEvent& kick) { return std::make_unique<KickDuck>(kick); }

}  // namespace vesk::assetgen
