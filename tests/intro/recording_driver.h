// A render driver that draws nothing and records the calls the intro's
// layers make, so that their placement can be checked without a GL context.
#pragma once

#include <vesk/graphics/render_driver.h>

#include <array>
#include <memory>
#include <vector>

namespace vesk::test {

struct TRecordedQuad {
    float x0, y0, x1, y1, tx, ty;
    std::array<int, 3> colour;
};

class TRecordingDriver : public TRenderDriver {
public:
    std::array<int, 3> colour{};
    std::vector<TRecordedQuad> quads;

    void OpenMode(int, int, int, int) override {}
    void ApplyColor(int red, int green, int blue) override { colour = {red, green, blue}; }
    void DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty) override {
        quads.push_back({x0, y0, x1, y1, tx, ty, colour});
    }
};

inline std::shared_ptr<TRecordingDriver> InstallRecordingDriver() {
    auto driver = std::make_shared<TRecordingDriver>();
    SetRenderDriver(driver);
    return driver;
}

}  // namespace vesk::test
