# Installs the engine into a temporary prefix, then builds each example on its
# own against that install, once through the CMake package and once through
# pkg-config, and runs every build for a few frames.
#   cmake -DBUILD_DIR=... -DEXAMPLES_DIR=... -DWORK_DIR=... [-DBUILD_TYPE=...] -P check_install.cmake

cmake_minimum_required(VERSION 3.25)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    list(JOIN ARGN " " line)
    message(FATAL_ERROR "failed (${status}): ${line}")
  endif()
endfunction()

set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${WORK_DIR}")
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${prefix}")
foreach(internal system/sdl_platform.h graphics/gl_batch.h pixmap/png_io.h audio/mixer_engine.h)
  if(EXISTS "${prefix}/include/vesk/${internal}")
    message(FATAL_ERROR "an internal header was installed: ${internal}")
  endif()
endforeach()
foreach(installed share/doc/veskgl/LICENSE bin/vesk-embed)
  if(NOT EXISTS "${prefix}/${installed}")
    message(FATAL_ERROR "not installed: ${installed}")
  endif()
endforeach()

# None of the examples asks for C++20 itself: the package's targets bring it.
foreach(example bounce input tune first-game)
  set(build "${WORK_DIR}/${example}")
  run(${CMAKE_COMMAND} -S "${EXAMPLES_DIR}/${example}" -B "${build}" "-DCMAKE_PREFIX_PATH=${prefix}"
      "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}")
  run(${CMAKE_COMMAND} --build "${build}")
  run("${build}/example-${example}" 5)
endforeach()

# pkg-config, from a moved copy of the install: the .pc file finds its
# prefix from where it lies.
set(moved "${WORK_DIR}/moved")
file(COPY "${prefix}/" DESTINATION "${moved}")
find_program(PKG_CONFIG pkg-config REQUIRED)
file(GLOB_RECURSE pc_file "${moved}/veskgl.pc")
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} "${pc_dir}")
function(pkg_config out)
  execute_process(COMMAND ${PKG_CONFIG} ${ARGN} veskgl
    OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know veskgl")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()
pkg_config(flags --cflags --libs)
separate_arguments(flags UNIX_COMMAND "${flags}")

# The input example needs no embedded files, so one compiler line builds it.
run(c++ -std=c++20 -o "${WORK_DIR}/input-pc" "${EXAMPLES_DIR}/input/main.cpp" ${flags})
run("${WORK_DIR}/input-pc" 5)

# The first game embeds its coin with the installed vesk-embed, which writes
# the assembly and the header; the assembly is compiled with the program.
pkg_config(vesk_embed --variable=vesk_embed)
set(game "${WORK_DIR}/first-game-pc")
run("${vesk_embed}" coin_tga "${EXAMPLES_DIR}/first-game/assets/coin.tga" "${game}/embed")
run(c++ -std=c++20 -o "${game}/first-game" "${EXAMPLES_DIR}/first-game/main.cpp"
    "${EXAMPLES_DIR}/first-game/game.cpp" "${game}/embed/coin_tga.s" "-I${game}/embed" ${flags})
file(COPY "${EXAMPLES_DIR}/first-game/assets/hero.png" "${EXAMPLES_DIR}/first-game/assets/pickup.wav"
     DESTINATION "${game}/assets")
run("${game}/first-game" 5)
