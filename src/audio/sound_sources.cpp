// The engine's two kinds of sound source: a WAV file or resource read in
// blocks, and a generator callback.
#include <vesk/audio/sound_stream.h>

#include <vesk/audio/sample.h>
#include <vesk/stream/opening.h>

#include "audio/wav_layout.h"

#include <vector>

namespace vesk {
namespace {

class TWavSource : public TSoundSource {
public:
    TWavSource(TStreamRef stream, const TWavLayout& layout)
        : stream_(std::move(stream)), layout_(layout), frameBytes_(BytesPerFrame(layout.format)) {}

    int32_t Hertz() override { return layout_.rate; }
    int64_t Length() override { return layout_.dataBytes / frameBytes_; }

    // 16-bit stereo files go straight into the frames; the others through a
    // block of their own format.
    int32_t Read(int16_t* frames, int32_t count) override {
        if (!stream_) return 0;
        if (layout_.format == SampleStereo16LE) return ReadBytes(reinterpret_cast<uint8_t*>(frames), count);
        block_.resize(static_cast<size_t>(count) * static_cast<size_t>(frameBytes_));
        const int32_t got = ReadBytes(block_.data(), count);
        ConvertFrames(block_.data(), layout_.format, frames, SampleStereo16LE, got);
        return got;
    }

    bool Rewind() override {
        if (!stream_ || layout_.dataStart < 0) return false;
        return stream_->Seek(layout_.dataStart) == layout_.dataStart;
    }

    void Close() override {
        if (stream_) stream_->Close();
        stream_.reset();
    }

private:
    // Whole frames only: a stream that stops inside a frame gives the frames
    // before it.
    int32_t ReadBytes(uint8_t* into, int32_t count) {
        const int32_t wanted = count * frameBytes_;
        int32_t got = 0;
        while (got < wanted) {
            const int32_t moved = stream_->Read(into + got, wanted - got);
            if (moved <= 0) break;
            got += moved;
        }
        return got / frameBytes_;
    }

    TStreamRef stream_;
    const TWavLayout layout_;
    const int32_t frameBytes_;
    std::vector<uint8_t> block_;
};

class TGeneratorSource : public TSoundSource {
public:
    TGeneratorSource(int32_t hertz, int64_t length, TSoundGenerator generator)
        : hertz_(hertz), length_(length), generator_(std::move(generator)) {}

    int32_t Hertz() override { return hertz_; }
    int64_t Length() override { return length_; }

    int32_t Read(int16_t* frames, int32_t count) override {
        if (!generator_) return 0;
        const int32_t made = generator_(frames, count, next_);
        if (made > 0) next_ += made;
        return made;
    }

    bool Rewind() override {
        next_ = 0;
        return static_cast<bool>(generator_);
    }

    // What the generator holds goes with it.
    void Close() override { generator_ = nullptr; }

private:
    const int32_t hertz_;
    const int64_t length_;
    TSoundGenerator generator_;
    int64_t next_ = 0;
};

}  // namespace

TSoundSourceRef OpenWavSource(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    TWavLayout layout;
    bool known = false;
    try {
        known = ReadWavLayout(*stream, layout);
    } catch (const TStreamError&) {
    }
    if (!known || layout.rate <= 0) {
        // A stream handed in belongs to its owner, who closes it.
        if (!url.As<TByteStream>()) stream->Close();
        return nullptr;
    }
    return std::make_shared<TWavSource>(std::move(stream), layout);
}

TSoundSourceRef MakeGeneratorSource(int32_t hertz, int64_t length, TSoundGenerator generator) {
    if (hertz <= 0 || length < -1 || !generator) return nullptr;
    return std::make_shared<TGeneratorSource>(hertz, length, std::move(generator));
}

}  // namespace vesk
