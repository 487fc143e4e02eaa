// The WAV reader over files written here byte by byte, and the reader
// registry around it.
#include <vesk/audio/sample_reader.h>
#include <vesk/audio/sound_driver.h>
#include <vesk/audio/wav_reader.h>
#include <vesk/stream/opener.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vesk {
namespace {

struct WavBytes {
    std::vector<uint8_t> bytes;

    WavBytes& Tag(const std::string& tag) {
        bytes.insert(bytes.end(), tag.begin(), tag.end());
        return *this;
    }
    WavBytes& U16(int v) {
        for (int i = 0; i < 2; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    WavBytes& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    WavBytes& Raw(const std::vector<uint8_t>& data) {
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    // "RIFF", size, "WAVE" and a format chunk of the given size.
    static WavBytes Header(int channels, int bits, uint32_t rate = 44100, uint32_t formatSize = 16, int audioFormat = 1) {
        WavBytes wav;
        wav.Tag("RIFF").U32(0).Tag("WAVE").Tag("fmt ").U32(formatSize).U16(audioFormat).U16(channels).U32(rate);
        wav.U32(rate * channels * bits / 8).U16(channels * bits / 8).U16(bits);
        for (uint32_t i = 16; i < formatSize; ++i) wav.bytes.push_back(0);
        return wav;
    }
    WavBytes& Data(const std::vector<uint8_t>& data) { return Tag("data").U32(static_cast<uint32_t>(data.size())).Raw(data); }
};

std::vector<uint8_t> Bytes(int count, int start = 1) {
    std::vector<uint8_t> bytes;
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(start + i));
    return bytes;
}

class WavReaderTest : public ::testing::Test {
protected:
    void SetUp() override { InitAudioModule(); }

    std::shared_ptr<TPcmSample> Read(WavBytes& wav) {
        auto stream = OpenMemoryBlock(wav.bytes.data(), static_cast<int32_t>(wav.bytes.size()), true, false);
        return ReadAudioSample(TStreamRef(stream));
    }

    void ExpectFrames(const std::shared_ptr<TPcmSample>& sample, const std::vector<uint8_t>& bytes) {
        ASSERT_NE(sample, nullptr);
        ASSERT_EQ(sample->capacity, static_cast<int32_t>(bytes.size()));
        EXPECT_EQ(std::vector<uint8_t>(sample->samples, sample->samples + sample->capacity), bytes);
    }
};

TEST_F(WavReaderTest, EachBitDepthAndChannelCountKeepsTheFileBytes) {
    struct Case {
        int channels, bits, format, frames;
    };
    for (Case c : {Case{1, 8, SampleMono8, 40}, Case{2, 8, SampleStereo8, 20}, Case{1, 16, SampleMono16LE, 20},
                   Case{2, 16, SampleStereo16LE, 10}}) {
        SCOPED_TRACE(c.format);
        auto wav = WavBytes::Header(c.channels, c.bits, 22050).Data(Bytes(40));
        auto sample = Read(wav);
        ExpectFrames(sample, Bytes(40));
        EXPECT_EQ(sample->format, c.format);
        EXPECT_EQ(sample->length, c.frames);
        EXPECT_EQ(sample->hertz, 22050);
    }
}

TEST_F(WavReaderTest, LongFormatChunkAndOtherChunksBeforeTheDataAreSkipped) {
    auto wav = WavBytes::Header(2, 16, 44100, 18);
    wav.Tag("LIST").U32(26).Raw(Bytes(26, 100)).Tag("junk").U32(3).Raw(Bytes(3, 200)).Data(Bytes(8));
    ExpectFrames(Read(wav), Bytes(8));
}

TEST_F(WavReaderTest, ThePadByteAfterAnOddChunkIsSkippedAndAMissingPadIsTolerated) {
    // A LIST chunk with an odd text length, padded as RIFF asks.
    auto padded = WavBytes::Header(2, 16).Tag("LIST").U32(27).Raw(Bytes(27, 100)).Raw({0}).Data(Bytes(8));
    ExpectFrames(Read(padded), Bytes(8));
    // Writers that leave the pad out: the next chunk id follows at once.
    auto unpadded = WavBytes::Header(2, 16).Tag("LIST").U32(27).Raw(Bytes(27, 100)).Data(Bytes(8));
    ExpectFrames(Read(unpadded), Bytes(8));
    // A zero after the chunk that does not lead to a chunk id is not a pad.
    auto zeroStart = WavBytes::Header(2, 16).Tag("junk").U32(3).Raw(Bytes(3)).Raw({0, 1, 'd', 'a'});
    zeroStart.U32(0).Data(Bytes(8));  // "\0\1da" is read as an unknown chunk of four bytes
    ExpectFrames(Read(zeroStart), Bytes(8));
}

TEST_F(WavReaderTest, HeadersItCannotReadAreDeclined) {
    std::vector<WavBytes> declined = {
        WavBytes().Tag("RIFX").U32(0).Tag("WAVE"),
        WavBytes().Tag("RIFF").U32(0).Tag("AVI "),
        WavBytes().Tag("RIFF").U32(0).Tag("WAVE").Tag("LIST").U32(0),
        WavBytes::Header(2, 16, 44100, 16, 3),
        WavBytes::Header(2, 24),
        WavBytes::Header(3, 16),
        WavBytes::Header(0, 8),
        WavBytes::Header(2, 16),  // ends after the format chunk
        WavBytes::Header(2, 16).Tag("LIST").U32(4).Raw(Bytes(4)),
        WavBytes(),
    };
    for (size_t i = 0; i < declined.size(); ++i) {
        if (declined[i].bytes.size() > 12 && i < 8) declined[i].Data(Bytes(8));
        if (i == 7) declined[i].bytes.resize(36);
        EXPECT_EQ(Read(declined[i]), nullptr) << "case " << i;
    }
}

TEST_F(WavReaderTest, DataChunkWithAPartialFrameKeepsTheWholeFramesOnly) {
    auto wav = WavBytes::Header(2, 16).Data(Bytes(11));
    auto sample = Read(wav);
    ExpectFrames(sample, Bytes(8));
    EXPECT_EQ(sample->length, 2);
}

TEST_F(WavReaderTest, DataSizeBeyondTheFileAllocatesOnlyWhatTheFileHolds) {
    auto wav = WavBytes::Header(2, 16).Tag("data").U32(0xFFFFFFF0u).Raw(Bytes(12));
    auto sample = Read(wav);
    ExpectFrames(sample, Bytes(12));
    EXPECT_EQ(sample->length, 3);
}

// A reader that fails in its own way, to see which failures count as a decline.
class FailingReader : public TPcmSampleReader {
public:
    explicit FailingReader(bool streamFailure) : streamFailure_(streamFailure) {}
    std::shared_ptr<TPcmSample> Decode(TByteStream& stream) override {
        stream.Skip(5);
        if (streamFailure_) throw TStreamReadError();
        Fail("reader broke");
    }

private:
    bool streamFailure_;
};

TEST_F(WavReaderTest, StreamFailureInAReaderIsADeclineAndTheNextReaderStartsAtTheStart) {
    new FailingReader(true);
    auto wav = WavBytes::Header(1, 8).Data(Bytes(4));
    ExpectFrames(Read(wav), Bytes(4));
}

TEST_F(WavReaderTest, OtherFailuresInAReaderPropagate) {
    new FailingReader(false);
    auto wav = WavBytes::Header(1, 8).Data(Bytes(4));
    EXPECT_THROW(Read(wav), TFailure);
}

// A stream that cannot tell its position.
class UnseekableStream : public TByteStream {
public:
    bool closed = false;
    int32_t Read(void*, int32_t) override { return 0; }
    void Close() override { closed = true; }
};

// Opens "unseekable::..." names as such streams, keeping the last one.
class UnseekableOpener : public TStreamOpener {
public:
    std::shared_ptr<UnseekableStream> last;
    TStreamRef Open(const TUrl&, const Text& protocol, const Text&, bool, bool) override {
        if (protocol != u"unseekable") return nullptr;
        last = std::make_shared<UnseekableStream>();
        return last;
    }
};

TEST_F(WavReaderTest, UnseekableStreamIsRefusedAndUnknownSourcesGiveNull) {
    try {
        ReadAudioSample(TStreamRef(std::make_shared<UnseekableStream>()));
        ADD_FAILURE();
    } catch (const TFailure& failure) {
        EXPECT_EQ(failure.Message(), "Stream is not seekable");
    }
    // Opened by name, it is closed again before the failure is raised.
    static UnseekableOpener opener;  // openers stay registered for the process
    EXPECT_THROW(ReadAudioSample(u"unseekable::tone.wav"), TFailure);
    ASSERT_TRUE(opener.last);
    EXPECT_TRUE(opener.last->closed);
    EXPECT_EQ(ReadAudioSample(u"incbin::\\no\\such.wav"), nullptr);
    EXPECT_EQ(ReadAudioSample(u"/no/such/file.wav"), nullptr);
    std::vector<uint8_t> text = Bytes(64, 32);
    auto stream = OpenMemoryBlock(text.data(), 64, true, false);
    EXPECT_EQ(ReadAudioSample(TStreamRef(stream)), nullptr);
}

TEST_F(WavReaderTest, SampleIsReadByResourceName) {
    auto wav = WavBytes::Header(2, 16).Data(Bytes(16));
    RegisterResource(u"\\test\\tone.wav", wav.bytes.data(), static_cast<uint32_t>(wav.bytes.size()));
    ExpectFrames(ReadAudioSample(u"incbin::\\test\\tone.wav"), Bytes(16));
}

}  // namespace
}  // namespace vesk
