// The intro in a web browser. The page calls main once sound may play; main
// starts the show and hands the browser one call per display frame, which
// runs a frame unless Escape has been hit or the page asked for the end, and
// then ends the show and closes the audio output. The page learns the show's
// state through a callback; it steers the show through a few calls (pause,
// mute, end, play again) and may read a few figures (frames drawn, show time,
// the gaps between frames, the audio output's state).
#include "audio/web_audio_device.h"
#include "intro/intro.h"
#include "intro/music.h"
#include <vesk/audio/mixer.h>
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/messages.h>
#include <vesk/system/platform.h>
#include "system/web_platform.h"

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

// Tells the page "running", "ended" or "failed" (with the failure's text).
EM_JS(void, TellPage, (const char* state, const char* detail), {
    if (Module['onShowState']) Module['onShowState'](UTF8ToString(state), UTF8ToString(detail));
});

namespace {

// --- Failures ------------------------------------------------------------

// The audio output, once the show no longer needs it: after the end, and
// after a failure, so that a page that shows a failure plays nothing.
void CloseSound() { vesk::MixerClose(); }

// A failure ends the show as it ends the desktop program: its message, and
// its reason on a line of its own, go to the error output; then the page
// shows it, the sound stops, and no more frames run.
template <class Body>
bool RunGuarded(Body body) {
    std::string text;
    try {
        body();
        return true;
    } catch (const vesk::TFailure& failure) {
        text = failure.Message();
        if (!failure.Reason().empty()) text += "\n" + failure.Reason();
    } catch (const std::exception& failure) {
        text = failure.what();
    }
    std::fprintf(stderr, "%s\n", text.c_str());
    CloseSound();
    TellPage("failed", text.c_str());
    return false;
}

// --- The gaps between frames ---------------------------------------------

// How long each frame came after the one before, in whole milliseconds
// (the last bucket holds every longer gap). A gap of more than half a
// character's time (80 ms) can cost the scroller a step, so the page shows
// the distribution. Pauses are not gaps.
constexpr int kLongestGapBucket = 250;

struct TFrameGaps {
    std::array<uint32_t, kLongestGapBucket + 1> counts{};
    bool haveLast = false;
    uint32_t lastMs = 0;

    void Note(uint32_t nowMs) {
        if (haveLast) {
            const uint32_t gap = nowMs - lastMs;
            ++counts[gap < kLongestGapBucket ? gap : kLongestGapBucket];
        }
        haveLast = true;
        lastMs = nowMs;
    }
    void Forget() { haveLast = false; }
};

TFrameGaps frameGaps;

// --- The show's frames ---------------------------------------------------

bool running = false;       // from a start to the end
bool endRequested = false;  // by the page's end button
bool soundWanted = false;   // an output opened at the first start; a replay reopens it

void EndShow() {
    vesk::EndIntro();
    CloseSound();
    running = false;
}

void RunFrame() {
    // Asking for Escape pumps the page's events, as on the desktop; it goes
    // on while paused, so that Escape still ends the show.
    if (vesk::TakeKeyHits(vesk::VK_ESCAPE) != 0 || endRequested) {
        EndShow();
        return;
    }
    if (vesk::IntroClockHeld()) return;
    frameGaps.Note(vesk::ReadClock());
    vesk::RunIntroFrame();
}

bool RunBrowserFrame() {
    if (!RunGuarded(RunFrame)) return false;
    if (!running) TellPage("ended", "");
    return running;
}

// Starts a show (the first, or a replay) and hands its frames to the browser.
template <class Start>
void RunShow(Start start) {
    endRequested = false;
    frameGaps = TFrameGaps{};
    if (!RunGuarded(start)) return;
    running = true;
    TellPage("running", "");
    vesk::RunEveryBrowserFrame(RunBrowserFrame);
}

}  // namespace

extern "C" {

// --- What the page reads -------------------------------------------------

EMSCRIPTEN_KEEPALIVE double vesk_frames_drawn() { return static_cast<double>(vesk::IntroFrameCount()); }
EMSCRIPTEN_KEEPALIVE double vesk_show_ms() { return static_cast<double>(vesk::IntroClock().elapsedMs); }
EMSCRIPTEN_KEEPALIVE int vesk_audio_open() { return vesk::WebAudioStatus().open ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE double vesk_audio_frames() { return static_cast<double>(vesk::WebAudioStatus().framesHandedOver); }
EMSCRIPTEN_KEEPALIVE int vesk_paused() { return vesk::IntroClockHeld() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int vesk_muted() { return vesk::WebAudioStatus().muted ? 1 : 0; }
// Frame gaps of `ms` milliseconds since the show started (the last bucket:
// that long or longer); -1 past the last bucket.
EMSCRIPTEN_KEEPALIVE double vesk_frame_gaps(int ms) {
    if (ms < 0 || ms > kLongestGapBucket) return -1;
    return frameGaps.counts[static_cast<size_t>(ms)];
}

// --- What the page asks --------------------------------------------------

// Pauses or resumes the show's clock and its sound together; only while the
// show runs.
EMSCRIPTEN_KEEPALIVE void vesk_set_paused(int paused) {
    if (!running) return;
    if (paused) {
        vesk::HoldIntroClock();
    } else {
        vesk::ReleaseIntroClock();
        frameGaps.Forget();
    }
    vesk::PauseWebAudio(paused != 0);
}

EMSCRIPTEN_KEEPALIVE void vesk_set_muted(int muted) { vesk::MuteWebAudio(muted != 0); }

// The end button: the show ends at its next frame, as with Escape.
EMSCRIPTEN_KEEPALIVE void vesk_end_show() {
    if (running) endRequested = true;
}

// "Play again" after the end: the show from its start, with its sound. The
// start waits for display frames, so the page calls this asynchronously.
EMSCRIPTEN_KEEPALIVE void vesk_play_again() {
    if (running) return;
    vesk::PauseWebAudio(false);
    if (soundWanted) vesk::MixerOpen();
    RunShow([] {
        if (!vesk::ReplayIntro()) throw std::runtime_error("The show cannot start again before it has ended.");
    });
}

}  // extern "C"

// The music, made from the score as it plays: how far it has played, the
// frames that were missing when the audio output needed them and the runs
// they came in, and the time spent making it.
namespace {

vesk::TStreamStatus MusicStatus() { return vesk::IntroMusicStatus(vesk::IntroShow().music); }

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE double vesk_music_played() { return static_cast<double>(MusicStatus().framesPlayed); }
EMSCRIPTEN_KEEPALIVE double vesk_music_missed() { return static_cast<double>(MusicStatus().framesMissed); }
EMSCRIPTEN_KEEPALIVE double vesk_music_underruns() { return static_cast<double>(MusicStatus().underruns); }
EMSCRIPTEN_KEEPALIVE double vesk_music_render_ms() { return 1000 * vesk::IntroMusicRenderSeconds(); }

}  // extern "C"

int main() {
    vesk::InitRuntimeModule();
    RunShow([] {
        vesk::StartIntro();
        soundWanted = vesk::WebAudioStatus().open;
    });
    return 0;
}
