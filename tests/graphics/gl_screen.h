// Drawing tests run on a real GL context (offscreen, software rendered) and
// judge what was drawn by reading the back buffer.
#pragma once

#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace vesk::test {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

class GLScreenTest : public ::testing::Test {
protected:
    // Hertz 0: no refresh calibration, so opening is quick.
    void SetUp() override {
        OpenGraphics(768, 576, 0, 0);
        ClearScreen();
    }
    void TearDown() override { CloseGraphics(); }
};

// The RGB of one back-buffer pixel, 0xRRGGBB.
inline uint32_t PixelAt(int x, int y) { return GrabScreenPixmap(x, y, 1, 1)->GetPixel(0, 0) & 0xFFFFFF; }

inline int Channel(uint32_t rgb, int shift) { return static_cast<int>((rgb >> shift) & 0xFF); }

// How many pixels of the rectangle have the colour.
inline int CountColour(int x, int y, int w, int h, uint32_t rgb) {
    TPixmapRef grab = GrabScreenPixmap(x, y, w, h);
    int count = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) count += (grab->GetPixel(i, j) & 0xFFFFFF) == rgb;
    return count;
}

}  // namespace vesk::test
