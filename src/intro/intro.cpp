#include "intro/intro.h"

#include <vesk/audio/mixer_driver.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/text_font.h>
#include "intro/countdown.h"
#include "intro/intro_assets.h"
#include "intro/music.h"
#include "intro/picture_rows.h"
#include "intro/random.h"
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

// A host's pause: the clock reading when it began, while it lasts.
bool clockHeld = false;
uint32_t heldAtMs = 0;

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

// Start-up from the images on, once the window is open and the music's
// sound is made: what a show begins with, the first time and every replay.
void BeginShow() {
    show.picture = BuildPictureRows();
    show.glyphTable = BuildGlyphTable();
    show.scroller.Reset(AssembleScrollText());
    show.spawner.spawnCount = 0;
    show.effects = TEffectList{};
    show.musicChannel = StartIntroMusic(show.music);
    show.clock.startMs = ReadClock();
    show.clock.elapsedMs = 0;
    show.clock.centis = 0;
    show.scroller.scrollOffset = 0;
    clockHeld = false;
}

void StartUp() {
    InitEngine();
    RegisterIntroAssets();
    OpenGraphics(kShowWidth, kShowHeight, 0, kRefreshHertz);
    show.music = MakeIntroMusic();
    BeginShow();
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
    if (phase == TPhase::Running && !clockHeld) DrawFrame(sink);
}

bool ReplayIntro() {
    if (phase != TPhase::Ended) return false;
    phase = TPhase::Running;
    // The effects draw the same sequence on every run.
    SeedRandom(kRandomStartState);
    OpenGraphics(kShowWidth, kShowHeight, 0, kRefreshHertz);
    BeginShow();
    return true;
}

void HoldIntroClock() {
    if (phase != TPhase::Running || clockHeld) return;
    clockHeld = true;
    heldAtMs = ReadClock();
}

void ReleaseIntroClock() {
    if (!clockHeld) return;
    clockHeld = false;
    // The time base leaves the pause out; the unsigned sum wraps with the clock.
    show.clock.startMs += ReadClock() - heldAtMs;
}

bool IntroClockHeld() { return clockHeld; }

void EndIntro() {
    if (phase != TPhase::Running) return;
    phase = TPhase::Ended;
    clockHeld = false;
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
