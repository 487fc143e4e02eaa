#include <vesk/pixmap/tga_reader.h>

#include <vesk/stream/opening.h>
#include "support/build_features.h"
#include "test_streams.h"

#include <gtest/gtest.h>


namespace vesk {
namespace {

using test::Bytes;
using test::StreamOf;

// Bottom-up, left to right unless the descriptor says otherwise.
Bytes Header(int type, int depth, int width, int height, int idLength = 0, int colourMapType = 0, int descriptor = 0) {
    return {static_cast<uint8_t>(idLength), static_cast<uint8_t>(colourMapType), static_cast<uint8_t>(type),
            0, 0, 0, 0, 0, 0, 0, 0, 0,
            static_cast<uint8_t>(width), static_cast<uint8_t>(width >> 8),
            static_cast<uint8_t>(height), static_cast<uint8_t>(height >> 8),
            static_cast<uint8_t>(depth), static_cast<uint8_t>(descriptor)};
}

Bytes Join(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TPixmapRef Decode(const Bytes& file) {
    return DecodeTga(*StreamOf(file));
}

// Bytes B, G, R per pixel: blue, green, then red, white.
const Bytes kRows2x2 = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

TEST(TgaReader, FirstFileRowIsTheBottomRow) {
    auto pixmap = Decode(Join(Header(2, 24, 2, 2), kRows2x2));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->format, FormatRGB888);
    EXPECT_EQ(pixmap->GetPixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(pixmap->GetPixel(1, 0), 0xFFFFFFFFu);
    EXPECT_EQ(pixmap->GetPixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(pixmap->GetPixel(1, 1), 0xFF00FF00u);
}

// The descriptor's origin bits place the first stored pixel: bit 5 at the
// top, bit 4 at the right. Its alpha-bit count changes nothing.
TEST(TgaReader, DescriptorOriginBitsTurnThePictureTheRightWayRound) {
    const TArgb blue = 0xFF0000FF, green = 0xFF00FF00, red = 0xFFFF0000, white = 0xFFFFFFFF;
    struct TCase {
        int descriptor;
        TArgb topLeft, topRight, bottomLeft, bottomRight;
    };
    for (TCase c : {TCase{0x08, red, white, blue, green}, TCase{0x20, blue, green, red, white},
                    TCase{0x10, white, red, green, blue}, TCase{0x30, green, blue, white, red}}) {
        SCOPED_TRACE(c.descriptor);
        for (Bytes file : {Join(Header(2, 24, 2, 2, 0, 0, c.descriptor), kRows2x2),
                           Join(Header(10, 24, 2, 2, 0, 0, c.descriptor), Join(Join({0x01}, Bytes(&kRows2x2[0], &kRows2x2[6])),
                                                                             Join({0x01}, Bytes(&kRows2x2[6], &kRows2x2[12]))))}) {
            auto pixmap = Decode(file);
            ASSERT_TRUE(pixmap);
            EXPECT_EQ(pixmap->GetPixel(0, 0), c.topLeft);
            EXPECT_EQ(pixmap->GetPixel(1, 0), c.topRight);
            EXPECT_EQ(pixmap->GetPixel(0, 1), c.bottomLeft);
            EXPECT_EQ(pixmap->GetPixel(1, 1), c.bottomRight);
        }
    }
    // A top-down file that ends early leaves its lower rows, not its upper ones, as zeros.
    auto cut = Decode(Join(Header(2, 24, 1, 3, 0, 0, 0x20), {7, 8, 9}));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->GetPixel(0, 0), 0xFF090807u);
    EXPECT_EQ(cut->GetPixel(0, 2), 0xFF000000u);
}

TEST(TgaReader, FiveBitChannelsAndTheTopBit) {
    auto sixteen = Decode(Join(Header(2, 16, 3, 1), {0xFF, 0x7F, 0x00, 0x80, 0x1F, 0x00}));
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(sixteen->format, FormatRGBA8888);
    EXPECT_EQ(sixteen->GetPixel(0, 0), 0xFFF8F8F8u);
    EXPECT_EQ(sixteen->GetPixel(1, 0), 0x00000000u);
    EXPECT_EQ(sixteen->GetPixel(2, 0), 0xFF0000F8u);

    auto fifteen = Decode(Join(Header(2, 15, 1, 1), {0xFF, 0xFF}));
    ASSERT_TRUE(fifteen);
    EXPECT_EQ(fifteen->format, FormatRGB888);
    EXPECT_EQ(fifteen->GetPixel(0, 0), 0xFFF8F8F8u);

    auto pixmap = Decode(Join(Header(2, 32, 1, 1), {1, 2, 3, 4}));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->GetPixel(0, 0), 0x04030201u);
}

TEST(TgaReader, RunLengthRowsOfRawAndRunPackets) {
    // Width 4: raw packet of 2, run packet of 2, in each depth.
    auto deep = Decode(Join(Header(10, 32, 4, 1), {0x01, 1, 2, 3, 4, 5, 6, 7, 8, 0x81, 9, 10, 11, 12}));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->GetPixel(0, 0), 0x04030201u);
    EXPECT_EQ(deep->GetPixel(1, 0), 0x08070605u);
    EXPECT_EQ(deep->GetPixel(2, 0), 0x0C0B0A09u);
    EXPECT_EQ(deep->GetPixel(3, 0), 0x0C0B0A09u);

    auto rgb = Decode(Join(Header(10, 24, 4, 1), {0x01, 1, 2, 3, 4, 5, 6, 0x81, 7, 8, 9}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->GetPixel(1, 0), 0xFF060504u);
    EXPECT_EQ(rgb->GetPixel(3, 0), 0xFF090807u);

    auto words = Decode(Join(Header(10, 16, 4, 1), {0x01, 0x1F, 0x00, 0x00, 0x80, 0x81, 0xE0, 0x03}));
    ASSERT_TRUE(words);
    EXPECT_EQ(words->GetPixel(0, 0), 0xFF0000F8u);
    EXPECT_EQ(words->GetPixel(1, 0), 0x00000000u);
    EXPECT_EQ(words->GetPixel(3, 0), 0xFF00F800u);
}

TEST(TgaReader, IdentificationBytesAreSkipped) {
    auto pixmap = Decode(Join(Join(Header(2, 24, 2, 2, 5), {9, 9, 9, 9, 9}), kRows2x2));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->GetPixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(pixmap->GetPixel(1, 0), 0xFFFFFFFFu);
}

TEST(TgaReader, DeclinesHeadersItCannotDecode) {
    const Bytes pixels(4 * 4097, 0);
    EXPECT_FALSE(Decode(Join(Header(2, 24, 2, 2, 0, 1), pixels)));
    EXPECT_FALSE(Decode(Join(Header(3, 24, 2, 2), pixels)));
    EXPECT_FALSE(Decode(Join(Header(9, 24, 2, 2), pixels)));
    EXPECT_FALSE(Decode(Join(Header(2, 8, 2, 2), pixels)));
    EXPECT_FALSE(Decode(Join(Header(2, 24, 0, 2), pixels)));
    EXPECT_FALSE(Decode(Join(Header(2, 24, 4097, 1), pixels)));
    EXPECT_FALSE(Decode(Join(Header(2, 24, 1, 0), pixels)));
    EXPECT_FALSE(Decode(Join(Header(2, 24, 1, 4097), pixels)));
    EXPECT_FALSE(Decode({}));
    EXPECT_TRUE(Decode(Join(Header(2, 24, 4096, 1), pixels)));
}

TEST(TgaReader, ColourMappedTypeGivesAZeroPicture) {
    auto pixmap = Decode(Join(Header(1, 24, 3, 2), Bytes(18, 0xAB)));
    ASSERT_TRUE(pixmap);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(pixmap->GetPixel(x, y), 0xFF000000u);
}

TEST(TgaReader, OverlongPacketsAreCutAtTheRowsEnd) {
    // Width 2, two rows. Bottom row: a raw packet of 4 pixels (two too many);
    // top row: a run of 128. Neither may spill outside the row, and the
    // surplus raw pixels are skipped so the next row starts on its packet.
    for (int depth : {16, 24, 32}) {
        int size = depth == 16 ? 2 : depth / 8;
        Bytes file = Join(Header(10, depth, 2, 2), {0x03});
        for (int i = 0; i < 4; ++i) file = Join(file, Bytes(size, static_cast<uint8_t>(0x11 * (i + 1))));
        file = Join(file, {0xFF});
        file = Join(file, Bytes(size, 0x77));
        auto pixmap = Decode(file);
        ASSERT_TRUE(pixmap) << depth;
        EXPECT_EQ(pixmap->GetPixel(0, 1), Decode(Join(Header(2, depth, 1, 1), Bytes(size, 0x11)))->GetPixel(0, 0));
        EXPECT_EQ(pixmap->GetPixel(1, 1), Decode(Join(Header(2, depth, 1, 1), Bytes(size, 0x22)))->GetPixel(0, 0));
        EXPECT_EQ(pixmap->GetPixel(1, 0), Decode(Join(Header(2, depth, 1, 1), Bytes(size, 0x77)))->GetPixel(0, 0));
    }
}

TEST(TgaReader, TruncatedFilesLeaveMissingPixelsZero) {
    // Two rows of three; only one pixel and a half arrive.
    auto raw = Decode(Join(Header(2, 32, 3, 2), {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->GetPixel(0, 1), 0x04030201u);
    EXPECT_EQ(raw->GetPixel(1, 1), 0x00000605u);
    EXPECT_EQ(raw->GetPixel(2, 0), 0u);

    // The second row must not repeat the first row's bytes.
    auto rgb = Decode(Join(Header(2, 24, 1, 2), {7, 8, 9}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->GetPixel(0, 1), 0xFF090807u);
    EXPECT_EQ(rgb->GetPixel(0, 0), 0xFF000000u);

    auto packed = Decode(Join(Header(10, 24, 4, 2), {0x03, 7, 8, 9}));
    ASSERT_TRUE(packed);
    EXPECT_EQ(packed->GetPixel(0, 1), 0xFF090807u);
    EXPECT_EQ(packed->GetPixel(1, 1), 0xFF000000u);
    EXPECT_EQ(packed->GetPixel(3, 0), 0xFF000000u);
}

// A header of the largest size with two pixels of data: every row after the
// data decodes as zeros would (opaque black at 16 bits), quickly.
TEST(TgaReader, RowsPastTheEndOfTheDataMatchADecodedZeroRow) {
    auto pixmap = Decode(Join(Header(10, 16, 4096, 4096), {0x81, 0x1F, 0x00}));
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->GetPixel(0, 4095), 0xFF0000F8u);
    EXPECT_EQ(pixmap->GetPixel(1, 4095), 0xFF0000F8u);
    EXPECT_EQ(pixmap->GetPixel(2, 4095), 0xFF000000u);
    for (int y : {4094, 2048, 0}) {
        EXPECT_EQ(pixmap->GetPixel(0, y), 0xFF000000u) << y;
        EXPECT_EQ(pixmap->GetPixel(4095, y), 0xFF000000u) << y;
    }
}

// --- The registry ---

class TSpyReader : public TPixmapReader {
public:
    TPixmapRef Decode(const TStreamRef& stream) override {
        ++calls;
        startedAt = stream->Position();
        stream->ReadU8();  // moves the stream on before declining
        if (failure) Fail("reader fault");
        return nullptr;
    }
    int calls = 0;
    int startedAt = -1;
    bool failure = false;
};

class PixmapRegistry : public ::testing::Test {
protected:
    void SetUp() override { InitTgaModule(); }
};

TEST_F(PixmapRegistry, TgaIsAskedBeforePng) {
    if (test::kPngAbsent) GTEST_SKIP() << "built without PNG";
    TPixmapReader* first = FirstPixmapReader();
    ASSERT_TRUE(first && first->Next());
    EXPECT_TRUE(dynamic_cast<TTgaReader*>(first));
    EXPECT_FALSE(dynamic_cast<TTgaReader*>(first->Next()));
}

TEST_F(PixmapRegistry, EveryReaderStartsFromTheRewoundStream) {
    static TSpyReader spy;  // now asked first, before the TGA reader
    Bytes file = Join(Header(2, 24, 2, 2), kRows2x2);
    auto stream = StreamOf(Join({0xAA, 0xBB}, file));
    stream->Seek(2);
    auto pixmap = ReadPixmap(stream);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(spy.calls, 1);
    EXPECT_EQ(spy.startedAt, 2);
    EXPECT_EQ(pixmap->GetPixel(1, 0), 0xFFFFFFFFu);
}

TEST_F(PixmapRegistry, UnseekableStreamsAreNotOffered) {
    static TSpyReader spy;
    auto stream = std::make_shared<test::TUnseekableStream>(Join(Header(2, 24, 2, 2), kRows2x2));
    EXPECT_FALSE(ReadPixmap(stream));
    EXPECT_EQ(spy.calls, 0);
    EXPECT_EQ(stream->closes, 0);  // the caller's stream stays open
}

TEST_F(PixmapRegistry, StreamFailuresAreDeclines) {
    // The read breaks inside the pixel rows: the TGA reader's failure is its
    // decline, and the PNG reader then finds no signature.
    Bytes file = Join(Header(2, 24, 2, 2), kRows2x2);
    auto stream = std::make_shared<test::TBrokenReadStream>(file, 20);
    EXPECT_FALSE(ReadPixmap(stream));
    EXPECT_TRUE(ReadPixmap(std::make_shared<test::TBrokenReadStream>(file, 30)));
}

TEST_F(PixmapRegistry, OpensNamesAndResources) {
    static const Bytes file = Join(Header(2, 24, 2, 2), kRows2x2);
    ASSERT_TRUE(RegisterResource(u"\\test\\picture.tga", file.data(), static_cast<uint32_t>(file.size())));
    auto resource = ReadPixmap(u"incbin::\\test\\picture.tga");
    ASSERT_TRUE(resource);
    EXPECT_EQ(resource->GetPixel(0, 0), 0xFFFF0000u);

    EXPECT_FALSE(ReadPixmap(u"incbin::\\test\\missing.tga"));
    EXPECT_FALSE(ReadPixmap(u"no such picture.tga"));
    EXPECT_FALSE(ReadPixmap(StreamOf({1, 2, 3})));
}

}  // namespace
}  // namespace vesk
