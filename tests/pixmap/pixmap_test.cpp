#include <vesk/pixmap/pixmap.h>

#include <gtest/gtest.h>

#include <vector>

namespace vesk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Convert(Bytes src, int32_t from, int32_t to, int32_t n) {
    Bytes dst(4 * n, 0xEE);
    ConvertPixelRun(src.data(), from, dst.data(), to, n);
    int32_t size = FormatEntry(BytesPerPixel, to);
    dst.resize(size ? n * size : 4 * n);  // an unknown target keeps the whole guard area
    return dst;
}

TEST(PixelFormat, ConversionsThroughTheHub) {
    EXPECT_EQ(Convert({255, 0, 1}, FormatRGB888, FormatI8, 1), (Bytes{85}));
    EXPECT_EQ(Convert({7}, FormatA8, FormatBGR888, 1), (Bytes{255, 255, 255}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, FormatBGRA8888, FormatA8, 1), (Bytes{4}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, FormatBGRA8888, FormatRGBA8888, 1), (Bytes{3, 2, 1, 4}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, FormatRGBA8888, FormatBGRA8888, 1), (Bytes{3, 2, 1, 4}));
    EXPECT_EQ(Convert({9, 200}, FormatI8, FormatRGBA8888, 2), (Bytes{9, 9, 9, 255, 200, 200, 200, 255}));
    EXPECT_EQ(Convert({1, 2, 3, 4, 5, 6}, FormatBGR888, FormatRGB888, 2), (Bytes{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ(Convert({10, 20, 30, 40}, FormatRGBA8888, FormatI8, 1), (Bytes{20}));
}

TEST(PixelFormat, UnknownFormatsWriteNothing) {
    EXPECT_EQ(Convert({1, 2, 3}, FormatRGB888, 9, 1), (Bytes{0xEE, 0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, 9, FormatRGB888, 1), (Bytes{0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(Convert({1, 2, 3, 4}, 9, FormatRGBA8888, 1), (Bytes{0xEE, 0xEE, 0xEE, 0xEE}));
}

TEST(Pixmap, CreatePadsRowsToTheAlignment) {
    auto rgb = TPixmap::Create(3, 1, FormatRGB888, 4);
    EXPECT_EQ(rgb->pitch, 12);
    EXPECT_EQ(rgb->capacity, 12);
    auto grey = CreatePixmap(5, 2, FormatI8, 4);
    EXPECT_EQ(grey->pitch, 8);
    EXPECT_EQ(grey->capacity, 16);
    EXPECT_EQ(TPixmap::Create(5, 2, FormatI8, 1)->pitch, 5);
    EXPECT_EQ(grey->PixelAddress(3, 1), grey->pixels + 11);
}

TEST(Pixmap, WindowsShareTheParentsMemory) {
    auto parent = TPixmap::Create(4, 4, FormatRGBA8888, 4);
    auto window = parent->SubPixmap(1, 2, 2, 2);
    EXPECT_EQ(window->pitch, parent->pitch);
    EXPECT_EQ(window->capacity, -1);
    window->SetPixel(1, 1, 0x11223344);
    EXPECT_EQ(parent->GetPixel(2, 3), 0x11223344u);

    uint8_t memory[8] = {};
    auto wrapped = WrapPixmap(memory, 2, 2, 4, FormatA8);
    wrapped->SetPixel(1, 1, 0x7F000000);
    EXPECT_EQ(memory[5], 0x7F);
    EXPECT_EQ(wrapped->capacity, -1);
}

TEST(Pixmap, GetPixelReadsEveryFormat) {
    struct Case {
        int32_t format;
        Bytes bytes;
        TArgb argb;
    } cases[] = {
        {FormatI8, {9}, 0xFF090909},
        {FormatA8, {128}, 0x80FFFFFF},
        {FormatBGR888, {1, 2, 3}, 0xFF030201},
        {FormatRGB888, {1, 2, 3}, 0xFF010203},
        {FormatBGRA8888, {1, 2, 3, 4}, 0x04030201},
        {FormatRGBA8888, {1, 2, 3, 4}, 0x04010203},
        {8, {1, 2, 3, 4}, 0},
    };
    for (auto& c : cases) {
        auto pixmap = WrapPixmap(c.bytes.data(), 1, 1, 4, c.format);
        EXPECT_EQ(GetPixmapPixel(pixmap, 0, 0), c.argb) << "format " << c.format;
    }
}

TEST(Pixmap, SetPixelStoresEveryFormat) {
    struct Case {
        int32_t format;
        Bytes stored;
    } cases[] = {
        {FormatI8, {32}},
        {FormatA8, {0x80}},
        {FormatBGR888, {48, 32, 16}},
        {FormatRGB888, {16, 32, 48}},
        {FormatBGRA8888, {48, 32, 16, 0x80}},
        {FormatRGBA8888, {16, 32, 48, 0x80}},
        {0, {}},
    };
    for (auto& c : cases) {
        Bytes memory(4, 0xEE);
        WrapPixmap(memory.data(), 1, 1, 4, c.format)->SetPixel(0, 0, 0x80102030);
        Bytes expected = c.stored;
        expected.resize(4, 0xEE);
        EXPECT_EQ(memory, expected) << "format " << c.format;
    }
}

TEST(Pixmap, CloneConvertAndPasteWorkRowByRow) {
    Bytes memory = {1, 2, 3, 9, 9, 9, 4, 5, 6, 9, 9, 9};  // pitch 6: rows padded with 9s
    auto source = WrapPixmap(memory.data(), 1, 2, 6, FormatRGB888);

    auto clone = source->Clone();
    EXPECT_EQ(clone->pitch, 4);
    EXPECT_EQ(clone->GetPixel(0, 1), 0xFF040506u);
    clone->SetPixel(0, 0, 0);
    EXPECT_EQ(source->GetPixel(0, 0), 0xFF010203u);

    auto bgra = ConvertPixmap(source, FormatBGRA8888);
    EXPECT_EQ(bgra->format, FormatBGRA8888);
    EXPECT_EQ(bgra->GetPixel(0, 1), 0xFF040506u);

    auto target = TPixmap::Create(3, 3, FormatRGBA8888, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) target->SetPixel(x, y, 0);
    target->Paste(*source, 2, 1);
    EXPECT_EQ(target->GetPixel(2, 1), 0xFF010203u);
    EXPECT_EQ(target->GetPixel(2, 2), 0xFF040506u);
    EXPECT_EQ(target->GetPixel(1, 1), 0u);
    EXPECT_EQ(target->GetPixel(2, 0), 0u);
}

TEST(ScalePixmap, InterpolatesAndClampsAtTheEdges) {
    Bytes memory = {0, 7, 7, 255, 100, 7, 7, 255};
    auto source = WrapPixmap(memory.data(), 2, 1, 8, FormatRGBA8888);
    auto wide = ScalePixmap(source, 4, 1);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(wide->PixelAddress(x, 0)[0], (Bytes{0, 25, 75, 100}[x]));
    EXPECT_EQ(wide->PixelAddress(3, 0)[1], 7);

    auto tall = ScalePixmap(WrapPixmap(memory.data(), 1, 2, 4, FormatRGBA8888), 1, 4);
    for (int y = 0; y < 4; ++y) EXPECT_EQ(tall->PixelAddress(0, y)[0], (Bytes{0, 25, 75, 100}[y]));

    Bytes grey = {0, 200};  // the result keeps the source's format
    auto half = ScalePixmap(WrapPixmap(grey.data(), 2, 1, 2, FormatI8), 1, 1);
    EXPECT_EQ(half->format, FormatI8);
    EXPECT_EQ(half->PixelAddress(0, 0)[0], 100);
}

TEST(MaskColourToAlpha, MaskedPixelsTakeTheirNeighboursAverage) {
    // 3 x 2 RGB: the magenta pixels are the mask colour.
    Bytes memory = {255, 0, 255, 10, 20, 30, 255, 0, 255,  //
                    40, 50, 60, 255, 0, 255, 70, 81, 96};
    auto source = WrapPixmap(memory.data(), 3, 2, 9, FormatRGB888);
    auto masked = MaskColourToAlpha(source, 255, 0, 255);
    ASSERT_EQ(masked->format, FormatRGBA8888);
    // (0, 0) sees (1, 0) and (0, 1); (1, 1) sees (1, 0), (0, 1) and (2, 1).
    EXPECT_EQ(masked->GetPixel(0, 0), 0x0019232Du);
    EXPECT_EQ(masked->GetPixel(1, 1), 0x0028323Eu);
    EXPECT_EQ(masked->GetPixel(2, 0), 0x0028323Fu);
    EXPECT_EQ(masked->GetPixel(1, 0), 0xFF0A141Eu);

    Bytes lone = {1, 2, 3, 200};
    EXPECT_EQ(MaskColourToAlpha(WrapPixmap(lone.data(), 1, 1, 4, FormatRGBA8888), 1, 2, 3)->GetPixel(0, 0), 0u);
    Bytes translucent = {9, 9, 9, 10};
    auto kept = MaskColourToAlpha(WrapPixmap(translucent.data(), 1, 1, 4, FormatRGBA8888), 1, 2, 3);
    EXPECT_EQ(kept->GetPixel(0, 0), 0xFF090909u);
}

TEST(Mirror, ReversesColumnsOrRows) {
    Bytes memory = {1, 2, 3, 0, 4, 5, 6, 0};  // 3 x 2 grey, pitch 4
    auto source = WrapPixmap(memory.data(), 3, 2, 4, FormatI8);
    auto x = MirrorPixmapX(source);
    auto y = MirrorPixmapY(source);
    EXPECT_EQ((Bytes{x->pixels[0], x->pixels[1], x->pixels[2], x->pixels[4], x->pixels[5], x->pixels[6]}),
              (Bytes{3, 2, 1, 6, 5, 4}));
    EXPECT_EQ((Bytes{y->pixels[0], y->pixels[1], y->pixels[2], y->pixels[4], y->pixels[5], y->pixels[6]}),
              (Bytes{4, 5, 6, 1, 2, 3}));
}

}  // namespace
}  // namespace vesk
