#include "intro/intro.h"

#include <vesk/audio/mixer_driver.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/text_font.h>
#include "intro/countdown.h"
#include "intro/intro_assets.h"
#include "intro/music.h"
#include "intro/picture_rows.h"
#include "intro/recording.h"
#include "intro/screen.h"
#include "intro/scroll_text.h"
#include <vesk/pixmap/tga_reader.h>
#include <vesk/runtime/startup.h>
#include <vesk/stream/opening.h>
#include <vesk/system/platform.h>

namespace vesk {
namespace {

constexpr int kRefreshHertz = 60;

// Never released: the process ends right after the show, and the images
// must not outlive the graphics context that their textures belong to.
TIntroShow& show = *new TIntroShow;
uint64_t frameCount = 0;

enum class TPhase { NotStarted, Running, Ended };
TPhase phase = TPhase::NotStarted;

void InitEngine() {
    InitRuntimeModule();
    InitSystemModule();
    InitStreamModule();
    InitPixmapModule();
    InitTgaModule();  // after PNG, so TGA files are recognised first
    InitGraphicsModule();
    InitTextFontModule();
    InitMixerModule();
}

void StartUp() {
    InitEngine();
    RegisterIntroAssets();
    OpenGraphics(kShowWidth, kShowHeight, 0, kRefreshHertz);
    show.music = MakeIntroMusic();
    show.picture = BuildPictureRows();
    show.glyphTable = BuildGlyphTable();
    show.scroller.Reset(AssembleScrollText());
    show.spawner.spawnCount = 0;
    show.musicChannel = StartIntroMusic(show.music);
    show.clock.startMs = ReadClock();
    show.clock.elapsedMs = 0;
    show.scroller.scrollOffset = 0;
}

void AdvanceClock() {
    if constexpr (recordFrames) {
        show.clock.elapsedMs += kRecordFrameMs;
    } else {
        // The unsigned difference stays right across a wrap of the clock.
        show.clock.elapsedMs = static_cast<uint32_t>(ReadClock() - show.clock.startMs);
    }
    show.clock.centis = static_cast<int32_t>(show.clock.elapsedMs / 10);
}

// The layers go back to front; the drawing state each one leaves behind is
// what the next one, and the next frame's first one, draws with.
void DrawFrame(const TRecordedFrameSink& sink) {
    ClearScreen();
    AdvanceClock();
    const int32_t centis = show.clock.centis;
    show.effects.UpdateAll();
    show.spawner.Spawn(show.effects, show.scroller.effectLevel, centis);
    DrawCountdown(show.clock.elapsedMs);
    RunScrollerStep(show.scroller, show.glyphTable, centis);
    DrawPictureRows(show.picture.rows, show.picture.width, centis);
    if constexpr (recordFrames) {
        RecordFrame(show.recordedFrames, sink);
        ++show.recordedFrames;
    }
    FlipBuffers();
    ++frameCount;
}

}  // namespace

bool StartIntro() {
    if (phase != TPhase::NotStarted) return false;
    phase = TPhase::Running;
    StartUp();
    return true;
}

void RunIntroFrame(const TRecordedFrameSink& sink) {
    if (phase == TPhase::Running) DrawFrame(sink);
}

void EndIntro() {
    if (phase != TPhase::Running) return;
    phase = TPhase::Ended;
    StopChannel(show.musicChannel);
    CloseGraphics();
}

int RunIntro() {
    if (!StartIntro()) return 0;
    // Asking for Escape pumps the window's messages, which keeps the window
    // responsive between frames.
    while (TakeKeyHits(VK_ESCAPE) == 0) RunIntroFrame();
    EndIntro();
    return 0;
}

const TIntroClock& IntroClock() { return show.clock; }
uint64_t IntroFrameCount() { return frameCount; }
TIntroShow& IntroShow() { return show; }

}  // namespace vesk
