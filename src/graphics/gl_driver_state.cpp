// The OpenGL driver's drawing state: colour bytes, blend modes, the scissor
// viewport, the matrix, line width and the texture caches. The colour and
// the matrix go into each gathered vertex; everything else is GL state, so
// a change draws the pending batch first, under the state it was made in.
#include "graphics/gl_driver.h"

#include "graphics/gl_layers.h"

#include <GL/gl.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace vesk {

void TGLRenderDriver::ApplyBlendMode(int mode) {
    if (mode == cachedBlendMode_) return;
    Flush();
    cachedBlendMode_ = mode;
    switch (mode) {
    case 1:  // alpha test
        glDisable(GL_BLEND);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GEQUAL, 0.5f);
        break;
    case 3:  // alpha blending
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDisable(GL_ALPHA_TEST);
        break;
    case 4:  // additive
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glDisable(GL_ALPHA_TEST);
        break;
    case 5:  // multiply
        glEnable(GL_BLEND);
        glBlendFunc(GL_DST_COLOR, GL_ZERO);
        glDisable(GL_ALPHA_TEST);
        break;
    default:  // opaque, and any value without a meaning
        glDisable(GL_BLEND);
        glDisable(GL_ALPHA_TEST);
        break;
    }
}

void TGLRenderDriver::ApplyAlpha(float alpha) {
    // An alpha that is not a number clamps to nothing: it reads as 0.
    alpha = std::isnan(alpha) ? 0.0f : std::clamp(alpha, 0.0f, 1.0f);
    color_[3] = static_cast<uint8_t>(alpha * 255.0f);  // truncates: 0.999 gives 254
}

void TGLRenderDriver::ApplyColor(int red, int green, int blue) {
    // The low 8 bits of each value, without clamping.
    color_[0] = static_cast<uint8_t>(red);
    color_[1] = static_cast<uint8_t>(green);
    color_[2] = static_cast<uint8_t>(blue);
}

void TGLRenderDriver::ApplyClearColor(int red, int green, int blue) {
    glClearColor(red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f);
}

void TGLRenderDriver::ApplyViewport(int x, int y, int width, int height) {
    const bool enabled = !(x == 0 && y == 0 && width == width_ && height == height_);
    // Worked out wide: a viewport far off the window must not wrap around.
    const int64_t bottom = std::clamp<int64_t>(int64_t{height_} - y - height, INT32_MIN, INT32_MAX);
    const std::array<int, 4> scissor{x, static_cast<int>(bottom), width, height};
    if (enabled == scissorEnabled_ && (!enabled || scissor == scissor_)) return;
    Flush();
    scissorEnabled_ = enabled;
    if (!enabled) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    scissor_ = scissor;
    glEnable(GL_SCISSOR_TEST);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
}

void TGLRenderDriver::ApplyMatrix(float ix, float iy, float jx, float jy) {
    ix_ = ix;
    iy_ = iy;
    jx_ = jx;
    jy_ = jy;
}

void TGLRenderDriver::ApplyLineThickness(float width) {
    if (width == lineWidth_) return;
    Flush();
    lineWidth_ = width;
    glLineWidth(width);
}

void TGLRenderDriver::ClearBuffer() {
    Flush();
    glClear(GL_COLOR_BUFFER_BIT);
}

// A fresh context: blending and scissoring off, lines one pixel wide, no
// texture bound.
void TGLRenderDriver::ResetStateCaches() {
    batch_.Discard();
    cachedBlendMode_ = 0;
    lineWidth_ = 1;
    scissorEnabled_ = false;
    boundTexture_ = 0;
    boundLayeredTexture_ = 0;
    texturing_ = TTexturing::Off;
}

void TGLRenderDriver::BindTexture(uint32_t name) {
    if (name == boundTexture_) return;
    Flush();
    glBindTexture(GL_TEXTURE_2D, name);
    boundTexture_ = name;
}

void TGLRenderDriver::BindLayeredTexture(uint32_t name) {
    if (name == boundLayeredTexture_) return;
    Flush();
    vesk::BindLayeredTexture(name);
    boundLayeredTexture_ = name;
}

void TGLRenderDriver::EnableTexturing(uint32_t name) {
    BindTexture(name);
    SetTexturing(TTexturing::Plain);
}

void TGLRenderDriver::EnableLayeredTexturing(uint32_t name) {
    BindLayeredTexture(name);
    SetTexturing(TTexturing::Layered);
}

void TGLRenderDriver::DisableTexturing() { SetTexturing(TTexturing::Off); }

// Only one kind is ever on: with both, the GL would sample the layered one.
void TGLRenderDriver::SetTexturing(TTexturing texturing) {
    if (texturing == texturing_) return;
    Flush();
    if (texturing_ == TTexturing::Plain) glDisable(GL_TEXTURE_2D);
    if (texturing_ == TTexturing::Layered) vesk::EnableLayeredTexturing(false);
    if (texturing == TTexturing::Plain) glEnable(GL_TEXTURE_2D);
    if (texturing == TTexturing::Layered) vesk::EnableLayeredTexturing(true);
    texturing_ = texturing;
}

void TGLRenderDriver::ForgetTexture(uint32_t name) {
    if (name == boundTexture_) boundTexture_ = 0;
    if (name == boundLayeredTexture_) boundLayeredTexture_ = 0;
}

TGLRenderDriver& GLDriver() { return dynamic_cast<TGLRenderDriver&>(PlatformRenderDriver()); }

}  // namespace vesk
