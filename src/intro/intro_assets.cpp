#include "intro/intro_assets.h"

#include "embedded/intro_font_sheet.h"
#include "embedded/intro_picture.h"
#include <vesk/stream/resources.h>

#if VESK_INTRO_SYNTH
#include "embedded/intro_score.h"
#else
#include "embedded/intro_music.h"
#endif

namespace vesk {

// The embedded sizes come from the generated files; the generators make
// them exactly the sizes above, which the asset tests check.
void RegisterIntroAssets() {
    RegisterResource(kIntroPictureName, embedded::intro_picture_data(),
                     embedded::intro_picture_size());
    RegisterResource(kIntroFontSheetName, embedded::intro_font_sheet_data(),
                     embedded::intro_font_sheet_size());
#if VESK_INTRO_SYNTH
    RegisterResource(kIntroScoreName, embedded::intro_score_data(), embedded::intro_score_size());
#else
    RegisterResource(kIntroMusicName, embedded::intro_music_data(), embedded::intro_music_size());
#endif
}

}  // namespace vesk
