# The intro's three assets, generated at build time by tools/ and embedded
# here with their exact bytes, and RegisterIntroAssets, which puts them in
# the resource table under the names the intro opens them by.
include(Embed)

add_library(vesk_intro_assets STATIC ${CMAKE_CURRENT_LIST_DIR}/intro_assets.cpp)
vesk_library_includes(vesk_intro_assets)
target_link_libraries(vesk_intro_assets PUBLIC vesk_internals vesk_stream vesk_runtime PRIVATE vesk_warnings)
target_compile_definitions(vesk_intro_assets PUBLIC VESK_INTRO_SYNTH=$<BOOL:${VESK_INTRO_SYNTH}>)

vesk_embed_file(vesk_intro_assets intro_picture ${VESK_INTRO_PICTURE}
  DEPENDS vesk_intro_asset_files)
vesk_embed_file(vesk_intro_assets intro_font_sheet ${VESK_INTRO_FONT_SHEET}
  DEPENDS vesk_intro_asset_files)
# The track (46 MB), or the score the music is made from as it plays (10 KB).
if(VESK_INTRO_SYNTH)
  vesk_embed_file(vesk_intro_assets intro_score ${PROJECT_SOURCE_DIR}/assets/music/score.txt)
else()
  vesk_embed_file(vesk_intro_assets intro_music ${VESK_INTRO_MUSIC}
    DEPENDS vesk_intro_asset_files)
endif()
