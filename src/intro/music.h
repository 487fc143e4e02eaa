// The intro's music: one embedded track, made into a sound at start-up and
// started once, just before the first frame. It plays about 261 seconds and
// is touched again only to stop it when the show ends. The recording build
// makes the sound but stays silent.
#pragma once

#include <vesk/audio/sound_driver.h>

namespace vesk {

inline const Text kMusicUrl = u"incbin::\\basic\\intro.wav";

// The sound of the track, not looping.
TSoundRef MakeIntroMusic();
// Starts it on a new channel; the recording build starts nothing. Returns
// the channel, or null.
TChannelRef StartIntroMusic(const TSoundRef& music);

}  // namespace vesk
