// Consecutive primitives of one kind and one texture, gathered into
// client-side vertex arrays so that the GL gets one draw call per run
// instead of one glBegin/glEnd pair per primitive. A software GL pays for
// every call it is handed, and for the bookkeeping each one leaves behind.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesk {

// Interleaved, as the GL reads it through its array pointers. `layer` is
// the third texture coordinate, read only for a texture page.
struct TGLVertex {
    float x, y;
    float u, v, layer;
    std::array<uint8_t, 4> color;
};

class TGLBatch {
public:
    // Whether primitives of `mode` on `texture` (0: none) join the pending
    // run. An empty batch continues nothing, so that the caller re-applies
    // its texture state after every draw.
    bool Continues(uint32_t mode, uint32_t texture) const;
    // Begins a run; the batch must be empty. `layered`: the texture is a
    // page, read with three coordinates.
    void Start(uint32_t mode, uint32_t texture, bool layered);
    void Add(const TGLVertex& vertex) { vertices_.push_back(vertex); }
    // Hands the pending vertices to the GL in one call and empties the
    // batch; nothing happens when it is empty.
    void Draw();
    // Forgets the pending vertices, e.g. when their context is gone.
    void Discard();
    bool Empty() const { return vertices_.empty(); }
    size_t Size() const { return vertices_.size(); }
    // The GL draw calls made so far.
    uint64_t DrawCount() const { return drawCount_; }

private:
    std::vector<TGLVertex> vertices_;
    uint32_t mode_ = 0;
    uint32_t texture_ = 0;
    bool layered_ = false;
    uint64_t drawCount_ = 0;
};

}  // namespace vesk
