// The logo picture: pure red only as its transparent background, around a
// logo that fills a good part of it.
#include <gtest/gtest.h>

#include <algorithm>

#include "asset_bytes.h"

namespace vesk::assettest {
namespace {

constexpr Rgb kRed{255, 0, 0};

// The distinct colours of pixels that touch pure red on a side.
std::vector<Rgb> ColoursBesideRed(const TgaPixels& p) {
    std::vector<Rgb> colours;
    const int step[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) {
            if (!(p.At(x, y) == kRed)) continue;
            for (auto [dx, dy] : step) {
                int nx = x + dx, ny = y + dy;
                if (nx < 0 || ny < 0 || nx >= p.Width() || ny >= p.Height()) continue;
                Rgb c = p.At(nx, ny);
                if (!(c == kRed) && std::find(colours.begin(), colours.end(), c) == colours.end())
                    colours.push_back(c);
            }
        }
    return colours;
}

TEST(Picture, BorderIsTransparentAndTheLogoFillsTheMiddle) {
    Bytes file = ReadFileBytes(VESK_ASSET_PICTURE);
    TgaPixels p(file);
    for (int x = 0; x < p.Width(); ++x) {
        EXPECT_EQ(p.At(x, 0), kRed) << x;
        EXPECT_EQ(p.At(x, p.Height() - 1), kRed) << x;
    }
    int opaque = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) opaque += !(p.At(x, y) == kRed);
    EXPECT_GT(opaque, p.Width() * p.Height() * 3 / 10);
    EXPECT_LT(opaque, p.Width() * p.Height() * 8 / 10);
}

// Red is the transparent colour: it may meet only the logo's outer edge
// (its rim and its shadow), never the shaded letters, where a stray red
// pixel would punch a hole.
TEST(Picture, PureRedMeetsOnlyTheLogosOuterEdge) {
    Bytes file = ReadFileBytes(VESK_ASSET_PICTURE);
    EXPECT_LE(ColoursBesideRed(TgaPixels(file)).size(), 3u);
}

TEST(Picture, LogoIsColourfulNotFlat) {
    Bytes file = ReadFileBytes(VESK_ASSET_PICTURE);
    TgaPixels p(file);
    std::vector<Rgb> colours;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            if (!(p.At(x, y) == kRed) &&
                std::find(colours.begin(), colours.end(), p.At(x, y)) == colours.end())
                colours.push_back(p.At(x, y));
    EXPECT_GT(colours.size(), 50u);  // a gradient and shading, not a flat fill
}

}  // namespace
}  // namespace vesk::assettest
