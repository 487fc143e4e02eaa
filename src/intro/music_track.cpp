// The music as delivered: the track embedded in the program, streamed from
// the resource as it plays.
#include "intro/music.h"

#include <vesk/audio/sample_reader.h>

namespace vesk {

TSoundRef MakeIntroMusic() { return StreamSound(kMusicUrl, 0); }

std::shared_ptr<TPcmSample> IntroMusicSample() { return ReadAudioSample(kMusicUrl); }

double IntroMusicRenderSeconds() { return 0; }

}  // namespace vesk
