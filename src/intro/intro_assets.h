// The intro's assets: the logo picture, the scroller's font sheet and the
// music, stored inside the program. RegisterIntroAssets puts them in the
// resource table, so that the intro opens them as "incbin::" followed by
// their names. A build that makes its music as it plays (VESK_INTRO_SYNTH)
// stores the music's score in place of the track.
#pragma once

#include <cstdint>

#include <vesk/runtime/text.h>

#ifndef VESK_INTRO_SYNTH
#define VESK_INTRO_SYNTH 0
#endif

namespace vesk {

inline constexpr bool kSynthesizedMusic = VESK_INTRO_SYNTH != 0;

// The names the intro opens its assets by, and their exact sizes.
inline const Text kIntroPictureName = u"\\basic\\torvel_test3.tga";
inline const Text kIntroFontSheetName = u"\\basic\\fontjap2.tga";
inline const Text kIntroMusicName = u"\\basic\\intro.wav";
constexpr std::uint32_t kIntroPictureSize = 140444;
constexpr std::uint32_t kIntroFontSheetSize = 192044;
constexpr std::uint32_t kIntroMusicSize = 46024076;
inline const Text kIntroScoreName = u"\\basic\\score.txt";

// Registers the picture, then the font sheet, then the music (or its
// score). Registering
// again changes nothing: the first registration of a name wins.
void RegisterIntroAssets();

}  // namespace vesk
