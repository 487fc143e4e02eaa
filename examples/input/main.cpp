// Keys and characters shown as they arrive, newest at the bottom, and a
// cursor that follows the mouse. Escape ends it; a number on the command line
// ends it after that many frames instead (for running headless).
#include <vesk/graphics/draw_primitives.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/text_font.h>
#include <vesk/runtime/startup.h>
#include <vesk/runtime/text.h>
#include <vesk/system/platform.h>

#include <cstdlib>
#include <deque>

namespace {

using namespace vesk;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr std::size_t kLines = 24;
int frameLimit = 0;  // 0: until Escape

// The last lines of the log, oldest first.
std::deque<Text> lines;

void Log(const Text& line) {
    lines.push_back(line);
    if (lines.size() > kLines) lines.pop_front();
}

// [input]
// Key hits by virtual-key code (Escape is the loop's own), then the typed
// characters in the order they came.
void TakeInput() {
    for (int code = 1; code <= 255; ++code) {
        if (code == VK_ESCAPE) continue;
        if (int hits = TakeKeyHits(code)) Log(u"key " + NumberText(code) + u" x" + NumberText(hits));
    }
    while (int code = NextChar()) {
        const Text shown = code >= 32 ? Text(1, static_cast<char16_t>(code)) : Text(u"control");
        Log(u"char " + NumberText(code) + u" '" + shown + u"'");
    }
}
// [input]

// [drawing]
// A cross where the mouse is, and its position beside it.
void DrawCursor() {
    const int x = MouseAxis(0);
    const int y = MouseAxis(1);
    SetDrawColor(255, 200, 0);
    DrawLineSegment(static_cast<float>(x - 10), static_cast<float>(y), static_cast<float>(x + 10),
                    static_cast<float>(y), true);
    DrawLineSegment(static_cast<float>(x), static_cast<float>(y - 10), static_cast<float>(x),
                    static_cast<float>(y + 10), true);
    DrawString(NumberText(x) + u"," + NumberText(y), static_cast<float>(x + 12), static_cast<float>(y + 4));
}
// [drawing]

void DrawLog() {
    SetDrawColor(255, 255, 255);
    DrawString(u"Type, click and move the mouse. Escape ends it.", 8, 8);
    float y = 40;
    for (const Text& line : lines) {
        DrawString(line, 8, y);
        y += static_cast<float>(StringHeight(line));
    }
}

int Run() {
    InitSystemModule();
    InitGraphicsModule();
    OpenGraphics(kWidth, kHeight, 0, 60);
    HidePointer();  // the drawn cross stands in for it
    for (int frame = 0; TakeKeyHits(VK_ESCAPE) == 0 && (frameLimit == 0 || frame < frameLimit); ++frame) {
        TakeInput();
        ClearScreen();
        DrawLog();
        DrawCursor();
        FlipBuffers();
    }
    ShowPointer();
    CloseGraphics();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    frameLimit = argc > 1 ? std::atoi(argv[1]) : 0;
    return vesk::RunProgram(Run);
}
