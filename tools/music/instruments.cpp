#include "music/instruments.h"

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

void PlayKick(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.05f});
    Noise noise = NoiseFor(n, 1);
    float pitch = 1, amp = n.velocity * level, click = 0.35f;
    const float pitchFall = DecayPerSample(0.032), ampFall = DecayPerSample(0.30),
                clickFall = DecayPerSample(0.0015);
    double phase = 0;
    const long length = Seconds(0.9);
    for (long t = 0; t < length; ++t) {
        phase += (44 + 120 * pitch) / kRate;
        float attack = t < 60 ? t / 60.0f : EndFade(t, length);
        float sample = float(SineTurns(phase)) * amp * attack + noise.Next() * click * amp;
        b.Add(n.start + t, sample, route);
        pitch *= pitchFall, amp *= ampFall, click *= clickFall;
    }
}

void PlaySnare(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.3f});
    Noise left = NoiseFor(n, 2), right = NoiseFor(n, 3);
    Svf filterL, filterR;
    filterL.Set(3800, 0.8), filterR.Set(3800, 0.8);
    Oscillator low, high;
    low.SetFrequency(185), high.SetFrequency(330);
    float tone = 0.55f * n.velocity * level, hiss = 0.5f * n.velocity * level;
    const float toneFall = DecayPerSample(0.045), hissFall = DecayPerSample(0.11);
    const long length = Seconds(0.5);
    for (long t = 0; t < length; ++t) {
        float body = (low.Sine() + 0.5f * high.Sine()) * tone * EndFade(t, length);
        filterL.Run(left.Next()), filterR.Run(right.Next());
        const float h = hiss * EndFade(t, length);
        b.AddStereo(n.start + t, body + (filterL.Band() + filterL.High()) * h,
                    body + (filterR.Band() + filterR.High()) * h, route);
        tone *= toneFall, hiss *= hissFall;
    }
}

void PlayClap(const NoteEvent& n, float level, Buses& b) {
    Route route(0.1f, {1, 0, 0.45f});
    Noise noise = NoiseFor(n, 4);
    Svf filter;
    filter.Set(1300, 1.6);
    const float tail = DecayPerSample(0.09), burst = DecayPerSample(0.005);
    float amp = 0;
    for (long t = 0; t < Seconds(0.45); ++t) {
        // Three quick bursts, then the tail: a few hands not quite together.
        if (t == 0 || t == Seconds(0.010) || t == Seconds(0.021) || t == Seconds(0.032))
            amp = n.velocity * level * 1.6f;
        filter.Run(noise.Next());
        b.Add(n.start + t, filter.Band() * amp, route);
        amp *= t < Seconds(0.032) ? burst : tail;
    }
}

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

void PlayHat(const NoteEvent& n, float level, Buses& b, double decay, float pan) {
    Route route(pan, {1, 0.1f, 0.12f});
    Metal metal(1.7, n, 5);
    Svf filter;
    filter.Set(7800, 1.2);
    float amp = n.velocity * level * 0.7f;
    const float fall = DecayPerSample(decay);
    for (long t = 0; t < Seconds(decay * 6); ++t) {
        filter.Run(metal.Next(0.55f));
        b.Add(n.start + t, filter.High() * amp, route);
        amp *= fall;
    }
}

void PlayCrash(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.35f});
    Metal metalL(2.3, n, 6), metalR(2.37, n, 7);
    Svf filterL, filterR;
    filterL.Set(5200, 0.9), filterR.Set(5200, 0.9);
    float amp = n.velocity * level * 0.6f;
    const float fall = DecayPerSample(0.85);
    const long length = Seconds(3.5);
    for (long t = 0; t < length; ++t) {
        float attack = t < 40 ? t / 40.0f : EndFade(t, length);
        filterL.Run(metalL.Next(0.7f)), filterR.Run(metalR.Next(0.7f));
        b.AddStereo(n.start + t, filterL.High() * amp * attack, filterR.High() * amp * attack,
                    route);
        amp *= fall;
    }
}

void PlayTom(const NoteEvent& n, float level, Buses& b) {
    Route route(n.pan, {1, 0, 0.3f});
    const double base = NoteFrequency(n.pitch);
    float bend = 1, amp = n.velocity * level * 0.9f;
    const float bendFall = DecayPerSample(0.05), fall = DecayPerSample(0.16);
    double phase = 0;
    for (long t = 0; t < Seconds(0.7); ++t) {
        phase += base * (1 + 0.7 * bend) / kRate;
        b.Add(n.start + t, float(SineTurns(phase)) * amp, route);
        bend *= bendFall, amp *= fall;
    }
}

// The low boom under the big hits: a sine falling from 60 to 30 Hz.
void PlayBoom(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.25f});
    float bend = 1, amp = n.velocity * level;
    const float bendFall = DecayPerSample(0.5), fall = DecayPerSample(1.1);
    double phase = 0;
    const long length = Seconds(4.0);
    for (long t = 0; t < length; ++t) {
        phase += (30 + 30 * bend) / kRate;
        float attack = t < 200 ? t / 200.0f : EndFade(t, length);
        b.Add(n.start + t, float(SineTurns(phase)) * amp * attack, route);
        bend *= bendFall, amp *= fall;
    }
}

// A saw and a sine for weight under a low-pass filter whose cutoff snaps
// open at each note and closes again.
void PlayBass(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.02f, 0.5f});
    Oscillator saw, sub;
    const double f = NoteFrequency(n.pitch);
    saw.SetFrequency(f), sub.SetFrequency(f);
    HeldEnvelope env(n.length, 0.003, 0.03);
    Svf filter;
    float sweep = 1;
    const float sweepFall = DecayPerSample(0.11);
    for (long t = 0; t < n.length + Seconds(0.2); ++t) {
        if (t % 8 == 0) filter.Set(160 + 1500 * sweep * n.velocity, 1.4);
        filter.Run(saw.Saw() * 0.7f + sub.Sine() * 0.6f);
        b.Add(n.start + t, filter.Low() * env.Next(t) * n.velocity * level, route);
        sweep *= sweepFall;
    }
}

// Detuned saws, two for each side, softened by a low-pass filter: a slow
// swell that holds the chord.
void PlayPad(const NoteEvent& n, float level, Buses& b) {
    Route route(n.pan, {1, 0.0f, 0.5f, 0.6f});
    static const double detune[4] = {0.99481430, 1.00231316, 0.99769217, 1.00521178};
    Oscillator saws[4];
    const double f = NoteFrequency(n.pitch);
    for (int i = 0; i < 4; ++i) {
        saws[i].SetFrequency(f * detune[i]);
        saws[i].SetPhase(std::uint32_t(n.start * 7919 + i * 0x40000000u));
    }
    Svf filterL, filterR;
    filterL.Set(1700, 0.8), filterR.Set(1700, 0.8);
    HeldEnvelope env(n.length, 0.35, 0.6);
    const float gain = n.velocity * level * 0.25f;
    for (long t = 0; t < n.length + Seconds(3.0); ++t) {
        filterL.Run(saws[0].Saw() + saws[1].Saw());
        filterR.Run(saws[2].Saw() + saws[3].Saw());
        float e = env.Next(t) * gain;
        b.AddStereo(n.start + t, filterL.Low() * e, filterR.Low() * e, route);
    }
}

// A bright bell-like pluck: a sine carrier under a sine modulator at three
// and a half times its pitch, the modulation fading faster than the note.
void PlayArp(const NoteEvent& n, float level, Buses& b) {
    Route route(n.pan, {0.8f, 0.45f, 0.3f, 0.35f});
    const double f = NoteFrequency(n.pitch);
    double carrier = 0, modulator = 0;
    // High notes get less modulation, keeping their sidebands below half
    // the sample rate.
    float index = f > 1200 ? float(1.6 * 1200 / f) : 1.6f, amp = n.velocity * level * 0.5f;
    const float indexFall = DecayPerSample(0.12), fall = DecayPerSample(0.3);
    // By a second the note has fallen 30 dB; the last tenth fades it out.
    const long length = Seconds(1.0), fade = Seconds(0.1);
    for (long t = 0; t < length; ++t) {
        modulator += f * 3.5 / kRate;
        carrier += f / kRate;
        float mod = float(SineTurns(modulator)) * index;
        float edge = t < 90 ? t / 90.0f : t > length - fade ? float(length - t) / fade : 1.0f;
        b.Add(n.start + t, float(SineTurns(carrier + mod * 0.25)) * amp * edge, route);
        index *= indexFall, amp *= fall;
    }
}

// Two detuned saws and a square an octave down, filtered with a touch of
// envelope and a vibrato that grows while the note is held.
void PlayLead(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0.42f, 0.3f});
    Oscillator a, c, sub;
    const double f = NoteFrequency(n.pitch);
    HeldEnvelope env(n.length, 0.006, 0.12);
    Svf filter;
    float bright = 1;
    const float brightFall = DecayPerSample(0.3);
    double vibrato = 0;
    for (long t = 0; t < n.length + Seconds(0.8); ++t) {
        if (t % 8 == 0) {
            double depth = t < Seconds(0.18)  ? 0
                           : t < Seconds(0.6) ? (t - Seconds(0.18)) / double(Seconds(0.42))
                                              : 1;
            double bend = 1 + 0.0045 * depth * SineTurns(vibrato);
            a.SetFrequency(f * bend * 0.9965), c.SetFrequency(f * bend * 1.0035),
                sub.SetFrequency(f * bend / 2);
            filter.Set(1400 + 3200 * bright, 1.1);
        }
        vibrato += 5.6 / kRate;
        float sa = a.Saw(), sc = c.Saw();
        filter.Run(sa * 0.5f + sc * 0.5f + sub.Pulse(0.5) * 0.3f);
        float e = env.Next(t) * n.velocity * level * 0.5f;
        // The two saws lean to opposite sides through the filter's output.
        float out = filter.Low() * e;
        b.AddStereo(n.start + t, out + (sa - sc) * e * 0.06f, out - (sa - sc) * e * 0.06f, route);
        bright *= brightFall;
    }
}

// Filtered noise rising through the whole note: the build before a drop.
void PlayRiser(const NoteEvent& n, float level, Buses& b) {
    Route route(0, {1, 0, 0.5f});
    Noise left = NoiseFor(n, 8), right = NoiseFor(n, 9);
    Svf filterL, filterR;
    for (long t = 0; t < n.length; ++t) {
        double u = double(t) / n.length;
        if (t % 16 == 0) {
            double cutoff = 8500 * ExpNegative(-(1 - u) * 3.0);
            filterL.Set(cutoff, 2.0), filterR.Set(cutoff, 2.0);
        }
        filterL.Run(left.Next()), filterR.Run(right.Next());
        float amp = float(u * u) * n.velocity * level * 0.5f * EndFade(t, n.length);
        b.AddStereo(n.start + t, filterL.Band() * amp, filterR.Band() * amp, route);
    }
}

}  // namespace

void PlayNote(const NoteEvent& note, float level, Buses& buses) {
    switch (note.voice) {
        case Voice::kKick:
            return PlayKick(note, level, buses);
        case Voice::kSnare:
            return PlaySnare(note, level, buses);
        case Voice::kClap:
            return PlayClap(note, level, buses);
        case Voice::kHat:
            return PlayHat(note, level, buses, 0.025, 0.3f);
        case Voice::kOpenHat:
            return PlayHat(note, level, buses, 0.16, -0.3f);
        case Voice::kCrash:
            return PlayCrash(note, level, buses);
        case Voice::kTom:
            return PlayTom(note, level, buses);
        case Voice::kBoom:
            return PlayBoom(note, level, buses);
        case Voice::kBass:
            return PlayBass(note, level, buses);
        case Voice::kPad:
            return PlayPad(note, level, buses);
        case Voice::kArp:
            return PlayArp(note, level, buses);
        case Voice::kLead:
            return PlayLead(note, level, buses);
        case Voice::kRiser:
            return PlayRiser(note, level, buses);
    }
}

}  // namespace vesk::assetgen
