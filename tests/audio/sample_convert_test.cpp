// Sample formats and their conversions through the 16-bit stereo hub.
#include <vesk/audio/sample.h>

#include <vesk/runtime/failure.h>

#include <gtest/gtest.h>

#include <vector>

namespace vesk {
namespace {

std::vector<uint8_t> Convert(std::vector<uint8_t> bytes, int32_t from, int32_t to) {
    const int32_t frames = static_cast<int32_t>(bytes.size()) / BytesPerFrame(from);
    std::vector<uint8_t> out(static_cast<size_t>(frames * BytesPerFrame(to)), 0xEE);
    ConvertFrames(bytes.data(), from, out.data(), to, frames);
    return out;
}

// Hub frames: left and right, high byte first.
std::vector<uint8_t> Hub(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values) {
        bytes.push_back(static_cast<uint8_t>(v >> 8));
        bytes.push_back(static_cast<uint8_t>(v));
    }
    return bytes;
}

TEST(SampleConversion, Mono8ReachesTheWholeSigned16Range) {
    EXPECT_EQ(Convert({0, 128, 255}, SampleMono8, SampleStereo16BE), Hub({-32768, -32768, 128, 128, 32767, 32767}));
}

TEST(SampleConversion, SixteenBitSourcesKeepTheirValues) {
    EXPECT_EQ(Convert({0x34, 0x12}, SampleMono16LE, SampleStereo16BE), Hub({0x1234, 0x1234}));
    EXPECT_EQ(Convert({0x12, 0x34}, SampleMono16BE, SampleStereo16BE), Hub({0x1234, 0x1234}));
    EXPECT_EQ(Convert({0x01, 0x80, 0xFF, 0x7F}, SampleStereo16LE, SampleStereo16BE), Hub({-32767, 32767}));
    EXPECT_EQ(Convert({0, 255}, SampleStereo8, SampleStereo16BE), Hub({-32768, 32767}));
}

TEST(SampleConversion, MixingDownToMonoTruncatesTowardZero) {
    const auto extremes = Hub({32767, -32768});
    EXPECT_EQ(Convert(extremes, SampleStereo16BE, SampleMono16LE), (std::vector<uint8_t>{0, 0}));
    EXPECT_EQ(Convert(extremes, SampleStereo16BE, SampleMono8), (std::vector<uint8_t>{127}));
    EXPECT_EQ(Convert(Hub({-3, 0}), SampleStereo16BE, SampleMono16BE), (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(Convert(Hub({-1, -1}), SampleStereo16BE, SampleStereo8), (std::vector<uint8_t>{127, 127}));
    EXPECT_EQ(Convert(Hub({-32768, 32767}), SampleStereo16BE, SampleStereo8), (std::vector<uint8_t>{0, 255}));
}

TEST(SampleConversion, ConversionsBetweenNonHubFormatsPassThroughTheHub) {
    EXPECT_EQ(Convert({0, 77, 255}, SampleMono8, SampleStereo8), (std::vector<uint8_t>{0, 0, 77, 77, 255, 255}));
    EXPECT_EQ(Convert({0x34, 0x12, 0xCC, 0xED}, SampleMono16LE, SampleMono16BE),
              (std::vector<uint8_t>{0x12, 0x34, 0xED, 0xCC}));
    EXPECT_EQ(Convert({0, 255}, SampleMono8, SampleStereo16LE), (std::vector<uint8_t>{0, 0x80, 0, 0x80, 0xFF, 0x7F, 0xFF, 0x7F}));
}

TEST(SampleConversion, UnknownFormatIsRefusedBeforeAnythingIsWritten) {
    uint8_t source[4] = {1, 2, 3, 4};
    uint8_t destination[4] = {9, 9, 9, 9};
    using Pair = std::pair<int32_t, int32_t>;
    for (auto [from, to] : {Pair{SampleMono8, 0}, Pair{0, SampleMono8}, Pair{7, SampleStereo16BE}, Pair{SampleStereo16BE, 7}}) {
        try {
            ConvertFrames(source, from, destination, to, 1);
            ADD_FAILURE() << from << " to " << to;
        } catch (const TFailure& failure) {
            EXPECT_EQ(failure.Message(), "Unimplemented sample format conversion");
        }
    }
    EXPECT_EQ(destination[0], 9);
}

TEST(PcmSample, WrapBorrowsAndCopyAndConvertMakeIndependentSamples) {
    uint8_t frames[4] = {10, 20, 30, 40};
    auto wrapped = WrapSample(frames, 2, 8000, SampleStereo8);
    EXPECT_EQ(wrapped->capacity, -1);
    EXPECT_EQ(wrapped->samples, frames);

    auto copy = wrapped->Copy();
    auto same = wrapped->Convert(SampleStereo8);
    for (const auto& s : {copy, same}) {
        EXPECT_NE(s->samples, frames);
        EXPECT_EQ(s->capacity, 4);
        EXPECT_EQ(s->hertz, 8000);
        EXPECT_EQ(std::vector<uint8_t>(s->samples, s->samples + 4), std::vector<uint8_t>(frames, frames + 4));
    }
    copy->samples[0] = 99;
    EXPECT_EQ(frames[0], 10);
    EXPECT_EQ(same->samples[0], 10);

    auto wide = wrapped->Convert(SampleStereo16LE);
    EXPECT_EQ(wide->format, SampleStereo16LE);
    EXPECT_EQ(wide->capacity, 8);
}

}  // namespace
}  // namespace vesk
