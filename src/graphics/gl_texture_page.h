// Texture pages: frames whose textures have one size share a layered
// texture, one frame a layer, so that a run of them is one draw instead of
// one draw per frame. A layer holds exactly the texture the frame would have
// had on its own (the picture, its replicated column and row, the cleared
// rest) and is sampled with the same coordinates and the same clamping at
// its edges, so the pixels drawn are the same. Only frames sampled
// nearest-neighbour go on pages: mip levels of a layered texture would blend
// neighbouring layers.
#pragma once

#include <vesk/pixmap/pixmap.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vesk {

class TTexturePage {
public:
    // Makes the layered texture in the current context.
    TTexturePage(int width, int height, int layers);
    // Deletes the texture if its context is still the current one.
    ~TTexturePage();
    TTexturePage(const TTexturePage&) = delete;
    TTexturePage& operator=(const TTexturePage&) = delete;

    uint32_t Texture() const { return texture_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Layers() const { return static_cast<int>(used_.size()); }
    int UsedLayers() const { return usedCount_; }
    uint32_t ContextSequence() const { return contextSequence_; }
    // Whether the page belongs to the current context.
    bool Current() const;

    // The lowest free layer, now taken, or -1 when the page is full.
    int Acquire();
    void Release(int layer);
    // Fills a layer with a picture of the page's texture size.
    void Fill(int layer, const TPixmap& picture);
    // The third texture coordinate that picks `layer`: its centre, so that
    // nearest sampling lands on it exactly.
    float LayerCoordinate(int layer) const { return (static_cast<float>(layer) + 0.5f) / static_cast<float>(Layers()); }

private:
    uint32_t texture_ = 0;
    int width_ = 0;
    int height_ = 0;
    uint32_t contextSequence_ = 0;
    std::vector<bool> used_;
    int usedCount_ = 0;
};

// A frame's place on a page; no page means a texture of its own.
struct TPageSlot {
    std::shared_ptr<TTexturePage> page;
    int layer = -1;
};

// The pages of the current context, handing out and taking back slots.
class TTexturePages {
public:
    // Whether frames of that texture size and those image flags go on pages.
    bool Shares(int textureWidth, int textureHeight, int flags);
    // A free slot for a texture of that size, on a new page if none has room.
    TPageSlot Acquire(int textureWidth, int textureHeight);
    // Takes a slot back; a page left empty is deleted once its last frame
    // lets go of it.
    void Release(TPageSlot& slot);
    // Makes the next `count` slots of that size come from one page.
    void Reserve(int textureWidth, int textureHeight, int count);
    // Drops every page: the context they belong to is closing or gone.
    void Forget();
    size_t PageCount() const { return pages_.size(); }

private:
    std::shared_ptr<TTexturePage> PageWithRoom(int textureWidth, int textureHeight, int count);
    void DropEmptyPages();

    std::vector<std::shared_ptr<TTexturePage>> pages_;  // the reserved page first
    std::shared_ptr<TTexturePage> reserved_;  // kept, even empty, until its slots are taken
    int reservedLeft_ = 0;
    int largest_ = -1;  // the GL's largest layered texture, asked once a context
};

}  // namespace vesk
