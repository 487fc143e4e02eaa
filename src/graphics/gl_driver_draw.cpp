// The OpenGL driver's primitives and texture frames.
#include "graphics/gl_driver.h"

namespace vesk {

// Filled in with the drawing primitives and texture frames.
void TGLRenderDriver::DrawPoint(float, float) {}
void TGLRenderDriver::DrawSegment(float, float, float, float, float, float) {}
void TGLRenderDriver::DrawQuad(float, float, float, float, float, float) {}
void TGLRenderDriver::DrawEllipse(float, float, float, float, float, float) {}
void TGLRenderDriver::DrawPolygon(const float*, int, float, float, float, float) {}
void TGLRenderDriver::BlitPixmap(const std::shared_ptr<TPixmap>&, float, float) {}
std::shared_ptr<TPixmap> TGLRenderDriver::ReadBackBuffer(int, int, int, int) { return nullptr; }
std::shared_ptr<TImageFrame> TGLRenderDriver::MakeDynamicFrame(int, int, int) { return nullptr; }
std::shared_ptr<TImageFrame> TGLRenderDriver::MakeFrameFromPixmap(const std::shared_ptr<TPixmap>&, int) { return nullptr; }

}  // namespace vesk
