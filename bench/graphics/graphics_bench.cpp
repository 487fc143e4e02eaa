// One frame of the intro's drawing load against an empty frame, both on the
// offscreen GL context: 104 textured 450 x 1 picture rows, 20 scroller
// glyphs of 16 x 13 at three times size, six countdown digits of the
// built-in font at five times size and 1,300 filled 3 x 3 rectangles (the
// effect points), all alpha-blended. Each frame ends with glFinish so the
// figures include the GL's work, not only the issuing of calls.
#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/image.h>
#include <vesk/graphics/text_font.h>
#include "graphics/window.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
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
        for (int row = 0; row < 104; ++row) made.rows.push_back(MakeImage(Gradient(450, 1, row)));
        made.glyphs = MakeCellImage(Gradient(16 * 20, 13, 99), 16, 13, 0, 20);
        return made;
    }();
    return scene;
}

void EndFrame() {
    FlipBuffers();
    glFinish();
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
    for (auto _ : state) {
        ClearScreen();
        EndFrame();
    }
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond);

void BM_IntroFrame(benchmark::State& state) {
    const TScene& scene = Scene();
    int frame = 0;
    for (auto _ : state) {
        ClearScreen();
        DrawIntroLoad(scene, frame++);
        EndFrame();
    }
}
BENCHMARK(BM_IntroFrame)->Unit(benchmark::kMillisecond);

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
