#include <vesk/graphics/graphics.h>

#include <vesk/graphics/draw_state.h>
#include "graphics/gl_heap.h"
#include "graphics/window.h"
#include <vesk/graphics/render_driver.h>
#include <vesk/graphics/text_font.h>
#include <vesk/runtime/failure.h>
#include <vesk/system/platform.h>

#include <string>

namespace vesk {
namespace {

struct TFrontEnd {
    bool open = false;
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
};

TFrontEnd front;
std::shared_ptr<TRenderDriver> platformDriver;
std::shared_ptr<TRenderDriver> currentDriver;

}  // namespace

void InitGraphicsModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitSystemModule();
    InitTextFontModule();
    KeepFreedGLMemory();
    platformDriver = MakePlatformRenderDriver();
    currentDriver = platformDriver;
}

TRenderDriver& RenderDriver() {
    InitGraphicsModule();
    return *currentDriver;
}

void SetRenderDriver(std::shared_ptr<TRenderDriver> driver) {
    InitGraphicsModule();
    currentDriver = std::move(driver);
}

TRenderDriver& PlatformRenderDriver() {
    InitGraphicsModule();
    return *platformDriver;
}

bool DisplayModeMatches(const TGraphicsMode& mode, int width, int height, int depth, int hertz) {
    return (!width || mode.width == width) && (!height || mode.height == height) &&
           (!depth || SameDepth(mode.depth, depth)) && (!hertz || mode.hertz == hertz);
}

// A mode that no display could have fails as an unlisted one does, before
// anything is closed.
void CheckModeArguments(int width, int height, int depth, int hertz) {
    if (width >= 1 && height >= 1 && depth >= 0 && hertz >= 0) return;
    Fail("Graphics mode does not exist", "width " + std::to_string(width) + " and height " + std::to_string(height) +
                                             " must be at least 1, depth " + std::to_string(depth) + " and hertz " +
                                             std::to_string(hertz) + " at least 0");
}

void OpenGraphics(int width, int height, int depth, int hertz) {
    InitGraphicsModule();
    CheckModeArguments(width, height, depth, hertz);
    // Only the size is checked against the display modes; a window on the
    // desktop may have any size.
    if (depth != 0 && !DisplayModeExists(width, height, 0, 0)) Fail("Graphics mode does not exist");
    CloseGraphics();
    RenderDriver().OpenMode(width, height, depth, hertz);
    front.width = width;
    front.height = height;
    front.depth = depth;
    front.hertz = hertz;
    ResetDrawState(width, height);
    InstallDefaultTextFont(TBitmapFont::CreateBuiltin());
    front.open = true;
}

void CloseGraphics() {
    if (!front.open) return;
    RenderDriver().CloseMode();
    front.width = 0;
    front.height = 0;
    InstallDefaultTextFont(nullptr);
    front.open = false;
}

bool GraphicsOpen() { return front.open; }

void SetWindowTitle(const Text& title) { SetWindowTitle(TextToUtf8(title)); }
void SetWindowTitle(std::string_view utf8) { SetGLWindowTitle(std::string(utf8)); }

void FlipBuffers() { RenderDriver().PresentFrame(); }

int CountDisplayModes() { return static_cast<int>(RenderDriver().DisplayModes().size()); }

void GetDisplayMode(int index, int& width, int& height, int& depth, int& hertz) {
    const auto& modes = RenderDriver().DisplayModes();
    if (index < 0 || index >= static_cast<int>(modes.size())) {
        width = height = depth = hertz = 0;
        return;
    }
    width = modes[index].width;
    height = modes[index].height;
    depth = modes[index].depth;
    hertz = modes[index].hertz;
}

bool DisplayModeExists(int width, int height, int depth, int hertz) {
    for (const TGraphicsMode& mode : RenderDriver().DisplayModes())
        if (DisplayModeMatches(mode, width, height, depth, hertz)) return true;
    return false;
}

int GetScreenWidth() { return front.width; }
int GetScreenHeight() { return front.height; }

void GetScreenMode(int& width, int& height, int& depth, int& hertz) {
    width = front.width;
    height = front.height;
    depth = front.depth;
    hertz = front.hertz;
}

void ShowPointer() { RenderDriver().SetCursorVisible(true); }
void HidePointer() { RenderDriver().SetCursorVisible(false); }

}  // namespace vesk
