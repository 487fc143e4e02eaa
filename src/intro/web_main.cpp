// The intro in a web browser. The page calls main once sound may play; main
// starts the show and hands the browser one call per display frame, which
// runs a frame unless Escape has been hit, and then ends the show. The page
// learns the show's state through a callback and may read a few figures
// (frames drawn, show time, the audio output's state); nothing here steers
// the show.
#include "audio/web_audio_device.h"
#include "intro/intro.h"
#include "intro/music.h"
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/messages.h>
#include <vesk/system/platform.h>
#include "system/web_platform.h"

#include <emscripten.h>

#include <cstdio>
#include <exception>
#include <string>

// Tells the page "running", "ended" or "failed" (with the failure's text).
EM_JS(void, TellPage, (const char* state, const char* detail), {
    if (Module['onShowState']) Module['onShowState'](UTF8ToString(state), UTF8ToString(detail));
});

namespace {

bool ended = false;

// A failure ends the show as it ends the desktop program: its message, and
// its reason on a line of its own, go to the error output; then the page
// shows it, and no more frames run.
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
    TellPage("failed", text.c_str());
    return false;
}

void RunFrame() {
    // Asking for Escape pumps the page's events, as on the desktop.
    if (vesk::TakeKeyHits(vesk::VK_ESCAPE) != 0) {
        vesk::EndIntro();
        ended = true;
    } else {
        vesk::RunIntroFrame();
    }
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE double vesk_frames_drawn() { return static_cast<double>(vesk::IntroFrameCount()); }
EMSCRIPTEN_KEEPALIVE double vesk_show_ms() { return static_cast<double>(vesk::IntroClock().elapsedMs); }
EMSCRIPTEN_KEEPALIVE int vesk_audio_open() { return vesk::WebAudioStatus().open ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE double vesk_audio_frames() { return static_cast<double>(vesk::WebAudioStatus().framesHandedOver); }

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
    if (!RunGuarded([] { vesk::StartIntro(); })) return 0;
    TellPage("running", "");
    vesk::RunEveryBrowserFrame([] {
        if (!RunGuarded(RunFrame)) return false;
        if (ended) TellPage("ended", "");
        return !ended;
    });
    return 0;
}
