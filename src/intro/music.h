// The intro's music: one track, made into a sound at start-up and started
// once, just before the first frame. It plays about 261 seconds and is
// touched again only to stop it when the show ends. The recording build
// makes the sound but stays silent.
//
// The delivered build embeds the track and streams it from there, giving
// the pages it has played back to the system. Built with VESK_INTRO_SYNTH,
// it embeds the score instead and makes the track as it plays, with the
// renderer that makes the embedded track at build time; a web page does so.
#pragma once

#include <vesk/audio/sample.h>
#include <vesk/audio/sound_stream.h>

namespace vesk {

inline const Text kMusicUrl = u"incbin::\\basic\\intro.wav";
inline const Text kScoreUrl = u"incbin::\\basic\\score.txt";

// The sound of the track, not looping.
TSoundRef MakeIntroMusic();
// Starts it on a new channel; the recording build starts nothing. Returns
// the channel, or null.
TChannelRef StartIntroMusic(const TSoundRef& music);

// The whole track in memory, 16-bit stereo at 44100 Hz, for the export:
// read from the embedded track, or made from the score at once.
std::shared_ptr<TPcmSample> IntroMusicSample();

// What the music's play has met: frames played and missed, underruns.
TStreamStatus IntroMusicStatus(const TSoundRef& music);
// Seconds spent making the music so far (0 when it is streamed).
double IntroMusicRenderSeconds();

}  // namespace vesk
