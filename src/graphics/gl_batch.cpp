#include "graphics/gl_batch.h"

#include <GL/gl.h>

namespace vesk {

bool TGLBatch::Continues(uint32_t mode, uint32_t texture) const {
    return !vertices_.empty() && mode == mode_ && texture == texture_;
}

void TGLBatch::Start(uint32_t mode, uint32_t texture, bool layered) {
    mode_ = mode;
    texture_ = texture;
    layered_ = layered;
}

void TGLBatch::Draw() {
    if (vertices_.empty()) return;
    constexpr GLsizei stride = sizeof(TGLVertex);
    const TGLVertex* first = vertices_.data();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, &first->x);
    glColorPointer(4, GL_UNSIGNED_BYTE, stride, first->color.data());
    if (texture_ != 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(layered_ ? 3 : 2, GL_FLOAT, stride, &first->u);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDrawArrays(mode_, 0, static_cast<GLsizei>(vertices_.size()));
    ++drawCount_;
    vertices_.clear();
}

void TGLBatch::Discard() { vertices_.clear(); }

}  // namespace vesk
