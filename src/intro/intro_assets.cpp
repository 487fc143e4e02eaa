#include "intro/intro_assets.h"

#include "embedded/intro_font_sheet.h"
#include "embedded/intro_music.h"
#include "embedded/intro_picture.h"
#include <vesk/stream/resources.h>

namespace vesk {

// The embedded sizes come from the generated files; the generators make
// them exactly the sizes above, which the asset tests check.
void RegisterIntroAssets() {
    RegisterResource(kIntroPictureName, embedded::intro_picture_data(),
                     embedded::intro_picture_size());
    RegisterResource(kIntroFontSheetName, embedded::intro_font_sheet_data(),
                     embedded::intro_font_sheet_size());
    RegisterResource(kIntroMusicName, embedded::intro_music_data(), embedded::intro_music_size());
}

}  // namespace vesk
