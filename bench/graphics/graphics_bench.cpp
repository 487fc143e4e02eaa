// One frame of the intro's drawing load against an empty frame, both on the
// offscreen GL context (or the X server that SDL_VIDEODRIVER names): 104
// textured 450 x 1 picture rows, 20 scroller glyphs of 16 x 13 at three
// times size, six countdown digits of the built-in font at five times size
// and 1,300 filled 3 x 3 rectangles (the effect points), all alpha-blended.
// Then two scenes of many small quads: N alpha-blended 32 x 32 sprites of
// one image, and N characters of the built-in font. Each frame ends with
// glFinish so the figures include the GL's work, not only the issuing of
// calls; the counter "draws" is the GL draw calls of one frame.
#include "graphics/gl_driver.h"
#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/image.h>
#include <vesk/graphics/text_font.h>
#include "graphics/window.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace vesk {
namespace {

struct TScene {
    std::vector<TImageRef> rows;
    TImageRef glyphs;
};

TPixmapRef Gradient(int w, int h, int seed) {
    TPixmapRef pixmap = CreatePixmap(w, h, FormatRGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixmap->SetPixel(x, y, 0xFF000000u | ((x * 7 + seed) & 0xFF) << 16 | ((y * 13 + seed) & 0xFF) << 8 | (seed & 0xFF));
    return pixmap;
}

TScene& Scene() {
    static TScene scene = [] {
        TScene made;
        // Masked and sampled nearest, as the intro makes its rows and glyphs.
        for (int row = 0; row < 104; ++row) made.rows.push_back(MakeImage(Gradient(450, 1, row), IMAGE_MASKED));
        made.glyphs = MakeCellImage(Gradient(16 * 20, 13, 99), 16, 13, 0, 20, IMAGE_MASKED);
        return made;
    }();
    return scene;
}

void EndFrame() {
    FlipBuffers();
    glFinish();
}

// Runs `frame` once a benchmark iteration and reports its draw calls.
template <typename TFrame>
void RunFrames(benchmark::State& state, TFrame frame) {
    int number = 0;
    uint64_t draws = 0;
    for (auto _ : state) {
        const uint64_t before = GLDriver().DrawCallCount();
        ClearScreen();
        frame(number++);
        EndFrame();
        draws = GLDriver().DrawCallCount() - before;
    }
    state.counters["draws"] = static_cast<double>(draws);
}

void DrawIntroLoad(const TScene& scene, int frame) {
    SetBlendMode(BLEND_ALPHA);
    for (int i = 0; i < 1300; ++i) FillRect(static_cast<float>((i * 37 + frame) % 760), static_cast<float>((i * 53) % 570), 3, 3);
    SetDrawScale(5, 5);
    DrawString(u"132000", 224, 350);
    SetDrawScale(3, 3);
    for (int i = 0; i < 20; ++i) DrawImageFrame(scene.glyphs, static_cast<float>(i * 48 - frame % 48), 460, i);
    SetDrawScale(1, 1);
    for (int row = 0; row < 104; ++row) DrawImageFrame(scene.rows[row], 159 + 8 * std::sin((row + frame) * 0.1f), 40.0f + row, 0);
}

void BM_EmptyFrame(benchmark::State& state) {
    RunFrames(state, [](int) {});
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

void BM_IntroFrame(benchmark::State& state) {
    const TScene& scene = Scene();
    RunFrames(state, [&](int frame) { DrawIntroLoad(scene, frame); });
}
BENCHMARK(BM_IntroFrame)->Unit(benchmark::kMillisecond);

// A 32 x 32 RGBA picture with soft alpha.
TImageRef Sprite(int flags) {
    TPixmapRef pixmap = CreatePixmap(32, 32, FormatRGBA8888);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixmap->SetPixel(x, y, static_cast<TArgb>((x * 8) << 24 | (y * 8) << 16 | 0x80FF));
    return MakeImage(pixmap, flags);
}

// Arguments: the sprite count and the image flags (6, filtered and masked,
// are the defaults; 0 samples nearest).
void BM_Sprites(benchmark::State& state) {
    const TImageRef sprite = Sprite(static_cast<int>(state.range(1)));
    const int count = static_cast<int>(state.range(0));
    SetBlendMode(BLEND_ALPHA);
    RunFrames(state, [&](int frame) {
        for (int i = 0; i < count; ++i) DrawImageFrame(sprite, static_cast<float>((i * 37 + frame) % 736), static_cast<float>((i * 53) % 544), 0);
    });
}
BENCHMARK(BM_Sprites)->ArgsProduct({{1000, 10000}, {6, 0}})->Unit(benchmark::kMillisecond);

// Lines of 96 characters at scale 1, the lines 16 pixels apart and wrapping
// back to the top of the window.
void BM_Text(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<std::u16string> lines;
    for (int at = 0; at < count; at += 96) {
        std::u16string line;
        for (int k = 0; k < std::min(96, count - at); ++k) line += static_cast<char16_t>(32 + k);
        lines.push_back(line);
    }
    SetBlendMode(BLEND_ALPHA);
    RunFrames(state, [&](int) {
        for (size_t n = 0; n < lines.size(); ++n) DrawString(lines[n], 0, static_cast<float>((n * 16) % 576));
    });
}
BENCHMARK(BM_Text)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    vesk::OpenGraphics(768, 576, 0, 0);
    vesk::SetSwapInterval(0);  // measure drawing, not the display's refresh
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vesk::CloseGraphics();
    return 0;
}
