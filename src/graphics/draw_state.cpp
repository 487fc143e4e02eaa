#include <vesk/graphics/draw_state.h>

#include <vesk/graphics/image_settings.h>
#include <vesk/graphics/render_driver.h>
#include <vesk/runtime/failure.h>

#include <cmath>
#include <numbers>
#include <string>

namespace vesk {
namespace {

TDrawState state;

void UpdateMatrix() {
    const double radians = state.rotation * std::numbers::pi / 180.0;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    state.ix = static_cast<float>(c * state.scaleX);
    state.iy = static_cast<float>(-s * state.scaleY);
    state.jx = static_cast<float>(s * state.scaleX);
    state.jy = static_cast<float>(c * state.scaleY);
    RenderDriver().ApplyMatrix(state.ix, state.iy, state.jx, state.jy);
}

}  // namespace

const TDrawState& DrawState() { return state; }

void SetDrawColor(int red, int green, int blue) {
    state.red = red;
    state.green = green;
    state.blue = blue;
    RenderDriver().ApplyColor(red, green, blue);
}

void GetDrawColor(int& red, int& green, int& blue) {
    red = state.red;
    green = state.green;
    blue = state.blue;
}

void SetDrawAlpha(float alpha) {
    state.alpha = alpha;
    RenderDriver().ApplyAlpha(alpha);
}

float GetDrawAlpha() { return state.alpha; }

void SetBlendMode(int mode) {
    state.blendMode = mode;
    RenderDriver().ApplyBlendMode(mode);
}

int GetBlendMode() { return state.blendMode; }

void SetClearColor(int red, int green, int blue) {
    state.clearRed = red;
    state.clearGreen = green;
    state.clearBlue = blue;
    RenderDriver().ApplyClearColor(red, green, blue);
}

void GetClearColor(int& red, int& green, int& blue) {
    red = state.clearRed;
    green = state.clearGreen;
    blue = state.clearBlue;
}

void ClearScreen() { RenderDriver().ClearBuffer(); }

void SetTransparentColor(int red, int green, int blue) {
    state.transparentRed = red;
    state.transparentGreen = green;
    state.transparentBlue = blue;
}

void GetTransparentColor(int& red, int& green, int& blue) {
    red = state.transparentRed;
    green = state.transparentGreen;
    blue = state.transparentBlue;
}

void SetLineThickness(float width) {
    state.lineThickness = width;
    RenderDriver().ApplyLineThickness(width);
}

float GetLineThickness() { return state.lineThickness; }

void SetDrawRotation(float degrees) {
    state.rotation = degrees;
    UpdateMatrix();
}

float GetDrawRotation() { return state.rotation; }

void SetDrawScale(float scaleX, float scaleY) {
    state.scaleX = scaleX;
    state.scaleY = scaleY;
    UpdateMatrix();
}

void GetDrawScale(float& scaleX, float& scaleY) {
    scaleX = state.scaleX;
    scaleY = state.scaleY;
}

void SetRotationAndScale(float degrees, float scaleX, float scaleY) {
    state.rotation = degrees;
    state.scaleX = scaleX;
    state.scaleY = scaleY;
    UpdateMatrix();
}

void SetDrawAnchor(float x, float y) {
    state.anchorX = -x;
    state.anchorY = -y;
}

void GetDrawAnchor(float& x, float& y) {
    x = state.anchorX;
    y = state.anchorY;
}

void SetDrawOrigin(float x, float y) {
    state.originX = x;
    state.originY = y;
}

void GetDrawOrigin(float& x, float& y) {
    x = state.originX;
    y = state.originY;
}

void SetClipViewport(int x, int y, int width, int height) {
    if (width < 0 || height < 0)
        Fail("Invalid clip viewport", "a viewport of " + std::to_string(width) + " x " + std::to_string(height) +
                                          " pixels: sizes cannot be negative");
    state.clipX = x;
    state.clipY = y;
    state.clipWidth = width;
    state.clipHeight = height;
    RenderDriver().ApplyViewport(x, y, width, height);
}

void GetClipViewport(int& x, int& y, int& width, int& height) {
    x = state.clipX;
    y = state.clipY;
    width = state.clipWidth;
    height = state.clipHeight;
}

void ResetDrawState(int screenWidth, int screenHeight) {
    SetBlendMode(BLEND_ALPHATEST);
    SetDrawColor(255, 255, 255);
    SetClearColor(0, 0, 0);
    SetTransparentColor(0, 0, 0);
    SetDrawAlpha(1.0f);
    SetDrawOrigin(0, 0);
    SetDrawAnchor(0, 0);
    SetClipViewport(0, 0, screenWidth, screenHeight);
    SetRotationAndScale(0, 1, 1);
    SetAutoCentreAnchor(false);
    SetDefaultImageFlags(IMAGE_FILTERED | IMAGE_MASKED);
}

}  // namespace vesk
