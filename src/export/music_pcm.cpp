#include "export/music_pcm.h"

#include <vesk/audio/wav_reader.h>
#include "export/export_error.h"
#include "intro/intro_assets.h"
#include "intro/music.h"
#include <vesk/stream/opening.h>

#include <algorithm>

namespace vesk {
namespace {

int64_t AudioFrameAt(int32_t showFrame, int32_t hertz) {
    return static_cast<int64_t>(showFrame) * hertz / kExportFramesPerSecond;
}

}  // namespace

int32_t ShowFramesCovering(int64_t audioFrames, int32_t hertz) {
    if (hertz <= 0) return 0;
    return static_cast<int32_t>((audioFrames * kExportFramesPerSecond + hertz - 1) / hertz);
}

int32_t TMusicPcm::ShowFrames() const { return ShowFramesCovering(sample->length, sample->hertz); }

TMusicPcm ReadIntroMusic() {
    InitStreamModule();
    InitWavModule();
    RegisterIntroAssets();
    std::shared_ptr<TPcmSample> sample = IntroMusicSample();
    if (!sample || sample->hertz <= 0) throw TExportError("the embedded music does not decode");
    if (sample->format != SampleStereo16LE) sample = sample->Convert(SampleStereo16LE);
    return {sample};
}

TByteSpan MusicBytesForFrames(const TMusicPcm& music, int32_t first, int32_t end) {
    const TPcmSample& sample = *music.sample;
    const int64_t from = std::min<int64_t>(AudioFrameAt(first, sample.hertz), sample.length);
    const int64_t to = std::clamp<int64_t>(AudioFrameAt(end, sample.hertz), from, sample.length);
    const int64_t frameBytes = BytesPerFrame(SampleStereo16LE);
    return {sample.samples + from * frameBytes, static_cast<size_t>((to - from) * frameBytes)};
}

}  // namespace vesk
