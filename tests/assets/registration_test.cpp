// Inside the program: the three assets are registered under the names the
// intro opens, with their exact sizes and bytes, and the pictures decode.
#include <gtest/gtest.h>

#include <cstring>

#include "asset_bytes.h"
#include "intro/intro_assets.h"
#include <vesk/pixmap/pixmap_reader.h>
#include <vesk/pixmap/tga_reader.h>
#include <vesk/stream/opening.h>
#include <vesk/stream/resources.h>

namespace vesk {
namespace {

void ExpectRegistered(const Text& name, std::uint32_t size, const char* built) {
    SCOPED_TRACE(TextToUtf8(name));
    ASSERT_EQ(ResourceSize(name), size);
    assettest::Bytes file = assettest::ReadFileBytes(built);
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(std::memcmp(ResourceData(name), file.data(), size), 0);
}

TEST(IntroAssets, RegisterUnderTheirNamesWithExactSizesAndBytes) {
    InitStreamModule();
    RegisterIntroAssets();
    ExpectRegistered(u"\\basic\\torvel_test3.tga", 140444, VESK_ASSET_PICTURE);
    ExpectRegistered(u"\\basic\\fontjap2.tga", 192044, VESK_ASSET_FONT_SHEET);
    if constexpr (kSynthesizedMusic) {
        const std::string score = VESK_ASSET_SOURCES "/music/score.txt";
        ExpectRegistered(kIntroScoreName, std::uint32_t(assettest::ReadFileBytes(score).size()), score.c_str());
        return;
    }
    ExpectRegistered(u"\\basic\\intro.wav", 46024076, VESK_ASSET_MUSIC);

    TStreamRef music = OpenForReading(u"incbin::\\basic\\intro.wav");
    ASSERT_NE(music, nullptr);
    EXPECT_EQ(music->Size(), 46024076);
}

void ExpectDecodes(const Text& url, const char* built) {
    SCOPED_TRACE(TextToUtf8(url));
    TPixmapRef pixmap = ReadPixmap(url);
    ASSERT_NE(pixmap, nullptr);
    assettest::Bytes file = assettest::ReadFileBytes(built);
    assettest::TgaPixels expected(file);
    ASSERT_EQ(pixmap->width, expected.Width());
    ASSERT_EQ(pixmap->height, expected.Height());
    for (int y = 0; y < expected.Height(); ++y)
        for (int x = 0; x < expected.Width(); ++x) {
            TArgb argb = pixmap->GetPixel(x, y);
            assettest::Rgb rgb = expected.At(x, y);
            ASSERT_EQ(argb & 0xFFFFFF, TArgb(rgb.r << 16 | rgb.g << 8 | rgb.b)) << x << "," << y;
        }
}

TEST(IntroAssets, PicturesDecodeFromTheirIncbinNames) {
    InitTgaModule();
    RegisterIntroAssets();
    ExpectDecodes(u"incbin::\\basic\\torvel_test3.tga", VESK_ASSET_PICTURE);
    ExpectDecodes(u"incbin::\\basic\\fontjap2.tga", VESK_ASSET_FONT_SHEET);
}

}  // namespace
}  // namespace vesk
