# Settings of the web build. The toolchain brings its own SDL layer, the
# fixed-function GL emulation over WebGL and Web Audio; nothing is fetched.
# Only the intro's page is built: the tests, benchmarks, examples, the
# recording build and the export stay on the desktop.
set(VESK_BUILD_TESTS OFF)
set(VESK_BUILD_BENCH OFF)
set(VESK_BUILD_FUZZ OFF)
set(VESK_BUILD_EXAMPLES OFF)
set(VESK_SANITIZE "")
# The page makes its music from the score as it plays: a download of about
# a megabyte instead of the 46 MB track.
set(VESK_INTRO_SYNTH ON)

# The toolchain's SDL headers, reached as <SDL.h> by the event translation
# shared with the desktop and as <SDL/SDL.h> by the web back ends.
set(VESK_WEB_SDL_INCLUDE_DIR "${EMSCRIPTEN_SYSROOT}/include/SDL")

# The engine reports failures as exceptions, and reader registries catch
# them: exceptions must work in the module.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# Build-time generators run under the toolchain's JavaScript host with the
# real file system, so the assets come out of the same sources and the same
# arithmetic as on the desktop.
set(VESK_WEB_TOOL_LINK_OPTIONS -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node)
