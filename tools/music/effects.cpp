#include "music/effects.h"

#include <algorithm>

namespace vesk::assetgen {

namespace {

float RunComb(DelayLine& line, float& store, float in, float feedback, float damp) {
    float out = line.Read();
    store = out * (1 - damp) + store * damp;
    line.Write(in + store * feedback);
    return out;
}

float RunAllPass(DelayLine& line, float in) {
    float delayed = line.Read();
    line.Write(in + delayed * 0.5f);
    return delayed - in;
}

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

void PingPongEcho::Run(const float* in, float* out, long frames) {
    for (long f = 0; f < frames; ++f) {
        const std::size_t i = std::size_t(f) * 2;
        float fromLeft = left_.Read(), fromRight = right_.Read();
        // Each bounce loses some treble, as echoes do.
        tone_ += (fromRight - tone_) * 0.45f;
        left_.Write((in[i] + in[i + 1]) * 0.5f + tone_ * feedback_);
        right_.Write(fromLeft * feedback_);
        out[i] += fromLeft;
        out[i + 1] += fromRight;
    }
}

RoomSide::RoomSide(std::size_t spread) {
    for (std::size_t length : {1116u, 1188u, 1277u, 1356u, 1422u, 1491u})
        combs_.push_back({DelayLine(length + spread)});
    for (std::size_t length : {556u, 441u}) allPasses_.emplace_back(length + spread);
}

float RoomSide::Run(float in) {
    float sum = 0;
    for (Comb& comb : combs_) sum += RunComb(comb.line, comb.store, in, 0.83f, 0.3f);
    for (DelayLine& pass : allPasses_) sum = RunAllPass(pass, sum);
    return sum;
}

void Room::Run(const float* in, float* out, long frames) {
    for (long f = 0; f < frames; ++f) {
        const std::size_t i = std::size_t(f) * 2;
        float mono = (in[i] + in[i + 1]) * 0.08f;
        float wetL = left_.Run(mono + in[i] * 0.04f), wetR = right_.Run(mono + in[i + 1] * 0.04f);
        out[i] += wetL;
        out[i + 1] += wetR;
    }
}

Master::Master(std::vector<GainPoint> gain, float trim, float peak, float loudest)
    : gain_(std::move(gain)), trim_(trim), scale_(loudest > 0 ? peak * 32767 / loudest : 0) {}

void Master::Run(float* mix, std::int16_t* pcm, long first, long frames) {
    // A first-order high-pass near 10 Hz, after the limiter, keeps the mean at
    // zero; the gain line comes last so that the ending reaches true silence.
    const float pole = 0.99857f;
    for (long f = 0; f < frames; ++f) {
        const std::size_t i = std::size_t(f) * 2;
        float l = mix[i] * trim_, r = mix[i + 1] * trim_;
        l = SoftLimit(l), r = SoftLimit(r);
        outL_ = l - inL_ + pole * outL_, inL_ = l;
        outR_ = r - inR_ + pole * outR_, inR_ = r;
        float g = GainAt(gain_, first + f, segment_);
        mix[i] = outL_ * g, mix[i + 1] = outR_ * g;
        loudest_ = std::max({loudest_, mix[i], -mix[i], mix[i + 1], -mix[i + 1]});
    }
    for (std::size_t i = 0; i < std::size_t(frames) * 2; ++i) {
        float v = mix[i] * scale_;
        pcm[i] = std::int16_t(v < 0 ? v - 0.5f : v + 0.5f);
    }
}

}  // namespace vesk::assetgen
