// A tune made as it plays: a generator callback streams a plucked melody
// that loops, and the window shows how far the stream has played and
// whether it ever missed a frame. Escape ends it; a number on the command
// line ends it after that many frames instead (for running headless).
#include <vesk/audio/mixer_driver.h>
#include <vesk/audio/sound_stream.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/graphics/text_font.h>
#include <vesk/runtime/startup.h>
#include <vesk/runtime/text.h>
#include <vesk/system/platform.h>

#include <cmath>
#include <cstdlib>
#include <iterator>
#include <numbers>

namespace {

using namespace vesk;

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int32_t kHertz = 44100;
constexpr int kNotes[] = {0, 4, 7, 12, 7, 4, 2, 5, 9, 14, 9, 5};
constexpr int64_t kNoteFrames = kHertz / 4;
constexpr int64_t kTuneFrames = kNoteFrames * static_cast<int64_t>(std::size(kNotes));
int frameLimit = 0;  // 0: until Escape

// [generator]
// The next frames of the tune, 16-bit stereo, counted from the sound's first
// frame (which comes round again each time the sound loops).
int32_t PlayTune(int16_t* frames, int32_t count, int64_t first) {
    for (int32_t i = 0; i < count; ++i) {
        const int64_t frame = first + i;
        const int note = kNotes[frame / kNoteFrames % static_cast<int64_t>(std::size(kNotes))];
        const double t = static_cast<double>(frame % kNoteFrames) / kHertz;
        const double pitch = 440.0 * std::pow(2.0, note / 12.0);
        const auto value = static_cast<int16_t>(9000 * std::exp(-5 * t) * std::sin(2 * std::numbers::pi * pitch * t));
        frames[2 * i] = value;
        frames[2 * i + 1] = value;
    }
    return count;
}
// [generator]

// [stream]
// The tune as a looping streamed sound: the engine calls PlayTune ahead of
// the playhead, on its own feeding thread, as the sound plays.
TStreamSoundRef MakeTune() { return GenerateSound(kHertz, kTuneFrames, PlayTune, 1); }

// What the stream has met so far, for the screen.
Text StreamReport(const TStreamSoundRef& tune) {
    const TStreamStatus status = StreamSoundStatus(tune);
    return u"played " + NumberText(static_cast<long long>(status.framesPlayed)) + u" frames, missed " +
           NumberText(static_cast<long long>(status.framesMissed)) + u" in " + NumberText(status.underruns) +
           u" underruns";
}
// [stream]

int Run() {
    InitSystemModule();
    InitGraphicsModule();
    InitMixerModule();  // without a sound card every sound stays silent

    OpenGraphics(kWidth, kHeight, 0, 60);
    const TStreamSoundRef tune = MakeTune();
    const TChannelRef channel = StartSound(tune);
    SetChannelVolume(channel, 0.8f);

    for (int frame = 0; TakeKeyHits(VK_ESCAPE) == 0 && (frameLimit == 0 || frame < frameLimit); ++frame) {
        ClearScreen();
        DrawString(u"A tune made as it plays", 8, 8);
        DrawString(StreamReport(tune), 8, 32);
        FlipBuffers();
    }
    CloseStreamSound(tune);  // its channel stops at the mixer's next pass
    CloseGraphics();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    frameLimit = argc > 1 ? std::atoi(argv[1]) : 0;
    return vesk::RunProgram(Run);
}
