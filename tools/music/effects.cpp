#include "music/effects.h"

#include <algorithm>

namespace vesk::assetgen {

namespace {

// A delay line of fixed length; Read gives the sample written length
// writes ago.
class DelayLine {
public:
    explicit DelayLine(std::size_t length) : buffer_(length, 0.0f) {}
    float Read() const { return buffer_[at_]; }
    void Write(float value) {
        buffer_[at_] = value;
        if (++at_ == buffer_.size()) at_ = 0;
    }

private:
    std::vector<float> buffer_;
    std::size_t at_ = 0;
};

class Comb {
public:
    explicit Comb(std::size_t length) : line_(length) {}
    float Run(float in, float feedback, float damp) {
        float out = line_.Read();
        store_ = out * (1 - damp) + store_ * damp;
        line_.Write(in + store_ * feedback);
        return out;
    }

private:
    DelayLine line_;
    float store_ = 0;
};

class AllPass {
public:
    explicit AllPass(std::size_t length) : line_(length) {}
    float Run(float in) {
        float delayed = line_.Read();
        line_.Write(in + delayed * 0.5f);
        return delayed - in;
    }

private:
    DelayLine line_;
};

// One side of the room; the right side uses slightly longer lines so the
// two sides decorrelate into width.
class RoomSide {
public:
    explicit RoomSide(std::size_t spread) {
        for (std::size_t length : {1116u, 1188u, 1277u, 1356u, 1422u, 1491u})
            combs_.emplace_back(length + spread);
        for (std::size_t length : {556u, 441u}) allPasses_.emplace_back(length + spread);
    }
    float Run(float in) {
        float sum = 0;
        for (Comb& comb : combs_) sum += comb.Run(in, 0.83f, 0.3f);
        for (AllPass& pass : allPasses_) sum = pass.Run(sum);
        return sum;
    }

private:
    std::vector<Comb> combs_;
    std::vector<AllPass> allPasses_;
};

float SoftLimit(float x) {
    const float knee = 0.75f;
    float magnitude = x < 0 ? -x : x;
    if (magnitude <= knee) return x;
    // Above the knee, a rational curve bends the level towards 1.
    float over = (magnitude - knee) / (1 - knee);
    float bent = knee + (1 - knee) * over / (1 + over);
    return x < 0 ? -bent : bent;
}

float GainAt(const std::vector<GainPoint>& points, long frame, std::size_t& segment) {
    while (segment + 1 < points.size() && points[segment + 1].frame <= frame) ++segment;
    if (segment + 1 >= points.size()) return points.back().gain;
    const GainPoint& a = points[segment];
    const GainPoint& b = points[segment + 1];
    if (frame <= a.frame) return a.gain;
    double u = double(frame - a.frame) / double(b.frame - a.frame);
    return float(a.gain + (b.gain - a.gain) * u);
}

}  // namespace

void AddPingPongEcho(const std::vector<float>& in, long delayFrames, float feedback,
                     std::vector<float>& out) {
    DelayLine left{std::size_t(delayFrames)}, right{std::size_t(delayFrames)};
    float tone = 0;
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        float fromLeft = left.Read(), fromRight = right.Read();
        // Each bounce loses some treble, as echoes do.
        tone += (fromRight - tone) * 0.45f;
        left.Write((in[i] + in[i + 1]) * 0.5f + tone * feedback);
        right.Write(fromLeft * feedback);
        out[i] += fromLeft;
        out[i + 1] += fromRight;
    }
}

void AddRoom(const std::vector<float>& in, std::vector<float>& out) {
    RoomSide left(0), right(23);
    for (std::size_t i = 0; i + 1 < in.size(); i += 2) {
        float mono = (in[i] + in[i + 1]) * 0.08f;
        float wetL = left.Run(mono + in[i] * 0.04f), wetR = right.Run(mono + in[i + 1] * 0.04f);
        out[i] += wetL;
        out[i + 1] += wetR;
    }
}

std::vector<std::int16_t> Master(std::vector<float>& mix, const std::vector<GainPoint>& gain,
                                 float trim, float peak) {
    // A first-order high-pass near 10 Hz, after the limiter, keeps the mean at
    // zero; the gain line comes last so that the ending reaches true silence.
    const float pole = 0.99857f;
    float inL = 0, inR = 0, outL = 0, outR = 0, loudest = 0;
    std::size_t segment = 0;
    for (std::size_t i = 0; i + 1 < mix.size(); i += 2) {
        float l = mix[i] * trim, r = mix[i + 1] * trim;
        l = SoftLimit(l), r = SoftLimit(r);
        outL = l - inL + pole * outL, inL = l;
        outR = r - inR + pole * outR, inR = r;
        float g = GainAt(gain, long(i / 2), segment);
        mix[i] = outL * g, mix[i + 1] = outR * g;
        loudest = std::max({loudest, mix[i], -mix[i], mix[i + 1], -mix[i + 1]});
    }
    std::vector<std::int16_t> pcm(mix.size());
    const float scale = loudest > 0 ? peak * 32767 / loudest : 0;
    for (std::size_t i = 0; i < mix.size(); ++i) {
        float v = mix[i] * scale;
        pcm[i] = std::int16_t(v < 0 ? v - 0.5f : v + 0.5f);
    }
    return pcm;
}

}  // namespace vesk::assetgen
