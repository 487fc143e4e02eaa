#include "graphics/gl_texture_page.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_layers.h"
#include "graphics/gl_texture.h"
#include <vesk/graphics/image_settings.h>

#include <GL/gl.h>

#include <algorithm>

namespace vesk {
namespace {

// A page of small textures takes about this much texture memory; larger
// textures gain little from sharing and keep their own.
constexpr int kPageBytes = 256 * 1024;
constexpr int kLargestSharedBytes = 64 * 1024;
constexpr int kMostLayers = 256;
// A reservation may make a larger page, up to this much.
constexpr int kLargestReservedBytes = 16 * 1024 * 1024;

int TextureBytes(int width, int height) { return width * height * 4; }

int PowerOfTwoAtLeast(int value) {
    int size = 1;
    while (size < value) size <<= 1;
    return size;
}

int DefaultLayers(int width, int height) {
    return std::clamp(kPageBytes / TextureBytes(width, height), 1, kMostLayers);
}

}  // namespace

TTexturePage::TTexturePage(int width, int height, int layers)
    : width_(width), height_(height), contextSequence_(GLDriver().ContextSequence()), used_(layers, false) {
    GLuint name = 0;
    glGenTextures(1, &name);
    texture_ = name;
    GLDriver().BindLayeredTexture(texture_);
    AllocateLayeredTexture(width, height, layers);
}

TTexturePage::~TTexturePage() {
    if (Current()) DeleteTexture(texture_);
}

bool TTexturePage::Current() const {
    return GLContextLive() && contextSequence_ == GLDriver().ContextSequence();
}

int TTexturePage::Acquire() {
    const auto free = std::find(used_.begin(), used_.end(), false);
    if (free == used_.end()) return -1;
    *free = true;
    ++usedCount_;
    return static_cast<int>(free - used_.begin());
}

void TTexturePage::Release(int layer) {
    if (layer < 0 || layer >= Layers() || !used_[layer]) return;
    used_[layer] = false;
    --usedCount_;
}

void TTexturePage::Fill(int layer, const TPixmap& picture) {
    // Pending draws may sample the layer's previous picture.
    GLDriver().Flush();
    GLDriver().BindLayeredTexture(texture_);
    FillTextureLayer(picture, layer);
}

bool TTexturePages::Shares(int textureWidth, int textureHeight, int flags) {
    if (flags & (IMAGE_DYNAMIC | IMAGE_FILTERED)) return false;
    if (TextureBytes(textureWidth, textureHeight) > kLargestSharedBytes) return false;
    if (largest_ < 0) largest_ = LargestLayeredTextureSize();
    return textureWidth <= largest_ && textureHeight <= largest_ && DefaultLayers(textureWidth, textureHeight) > 1;
}

TPageSlot TTexturePages::Acquire(int textureWidth, int textureHeight) {
    std::shared_ptr<TTexturePage> page = PageWithRoom(textureWidth, textureHeight, 1);
    if (!page) {
        const int layers = std::min(DefaultLayers(textureWidth, textureHeight), largest_);
        page = std::make_shared<TTexturePage>(textureWidth, textureHeight, layers);
        pages_.push_back(page);
    }
    if (page == reserved_ && --reservedLeft_ <= 0) reserved_.reset();
    return {page, page->Acquire()};
}

void TTexturePages::Release(TPageSlot& slot) {
    if (!slot.page) return;
    slot.page->Release(slot.layer);
    if (slot.page->Current() && slot.page->UsedLayers() == 0) DropEmptyPages();
    slot = {};
}

void TTexturePages::Reserve(int textureWidth, int textureHeight, int count) {
    if (count <= 1 || largest_ <= 0) return;
    std::shared_ptr<TTexturePage> page = PageWithRoom(textureWidth, textureHeight, count);
    if (!page) {
        const int layers = std::max(DefaultLayers(textureWidth, textureHeight), PowerOfTwoAtLeast(count));
        if (layers > largest_ || static_cast<int64_t>(layers) * TextureBytes(textureWidth, textureHeight) > kLargestReservedBytes)
            return;
        page = std::make_shared<TTexturePage>(textureWidth, textureHeight, layers);
    } else {
        pages_.erase(std::find(pages_.begin(), pages_.end(), page));
    }
    pages_.insert(pages_.begin(), page);
    reserved_ = page;
    reservedLeft_ = count;
}

void TTexturePages::Forget() {
    pages_.clear();
    reserved_.reset();
    reservedLeft_ = 0;
    largest_ = -1;
}

std::shared_ptr<TTexturePage> TTexturePages::PageWithRoom(int textureWidth, int textureHeight, int count) {
    for (const auto& page : pages_) {
        if (page->Width() == textureWidth && page->Height() == textureHeight && page->Layers() - page->UsedLayers() >= count)
            return page;
    }
    return nullptr;
}

// The reserved page stays, empty or not, until its frames are made.
void TTexturePages::DropEmptyPages() {
    std::erase_if(pages_, [this](const auto& page) { return page->UsedLayers() == 0 && page != reserved_; });
}

}  // namespace vesk
