# The intro as a web page: intro.js and intro.wasm from the delivered show,
# and index.html, the page that loads them, all in VESK_WEB_OUTPUT_DIR
# (build/web when scripts/web builds it).
set(VESK_WEB_OUTPUT_DIR "${PROJECT_BINARY_DIR}/web" CACHE PATH "Where the web page and its module go")

add_executable(intro web_main.cpp)
target_link_libraries(intro PRIVATE vesk_intro vesk_warnings)
set_target_properties(intro PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY "${VESK_WEB_OUTPUT_DIR}")
set(vesk_page_calls
  # What the page reads.
  _vesk_frames_drawn _vesk_show_ms _vesk_audio_open _vesk_audio_frames _vesk_paused _vesk_muted _vesk_frame_gaps
  # What it asks.
  _vesk_set_paused _vesk_set_muted _vesk_end_show _vesk_play_again
  # The music made as it plays: frames played and missed, and its cost.
  _vesk_music_played _vesk_music_missed _vesk_music_underruns _vesk_music_render_ms)
list(JOIN vesk_page_calls "," vesk_page_calls)
target_link_options(intro PRIVATE
  # The fixed-function GL the engine draws with, emulated over WebGL.
  -sLEGACY_GL_EMULATION=1 -sGL_UNSAFE_OPTS=0
  # Swaps outside the browser's frame call (the start-up's calibration)
  # wait for the display, which needs the call stack kept across the wait.
  -sASYNCIFY=1 -sASYNCIFY_STACK_SIZE=65536
  # The music is made as it plays, a few seconds ahead: the heap holds the
  # show's pictures and the GL emulation's buffers, and may grow.
  -sINITIAL_MEMORY=33554432 -sALLOW_MEMORY_GROWTH=1
  # The page starts the show when sound may play (after a click, unless the
  # browser allows it at once), and starts it again with ccall, which waits
  # out the start's display frames.
  -sINVOKE_RUN=0 -sEXPORTED_RUNTIME_METHODS=callMain,ccall
  -sEXPORTED_FUNCTIONS=_main,${vesk_page_calls}
  -sENVIRONMENT=web)

# The page carries the module's size from this build, for its progress and
# its text; scripts/web reads the same figure back from it.
set(vesk_page "${VESK_WEB_OUTPUT_DIR}/index.html")
add_custom_command(OUTPUT "${vesk_page}"
  COMMAND ${CMAKE_COMMAND} -DPAGE=${CMAKE_CURRENT_SOURCE_DIR}/web_page.html
          -DMODULE=${VESK_WEB_OUTPUT_DIR}/intro.wasm -DOUTPUT=${vesk_page}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/web_page_fill.cmake
  DEPENDS intro web_page.html web_page_fill.cmake
  VERBATIM)
add_custom_target(intro_page ALL DEPENDS "${vesk_page}")
