# Settings of the Windows build, made with mingw-w64 (cross from Debian with
# cmake/WindowsToolchain.cmake, as scripts/windows does, or natively). The
# engine runs on the win32_* back ends: the window system with WGL, the
# wave-out device and the system's clock. There is no libpng for mingw in
# Debian, so PNG is left out as in the browser; the recording build, the
# export, the benchmarks and the fuzz targets stay on Linux.
set(VESK_BUILD_BENCH OFF)
set(VESK_BUILD_FUZZ OFF)
set(VESK_SANITIZE "")

# Everything links statically: a program needs only the system's own DLLs.
# Release builds leave out the symbols the static runtime libraries bring.
add_link_options(-static $<$<CONFIG:Release,MinSizeRel>:-s>)
# The headers are asked for no more than Windows 7 offers, without the
# rarely used parts and without the min and max macros.
add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 WIN32_LEAN_AND_MEAN NOMINMAX)

# GoogleTest: an installed package where there is one (MSYS2), else built
# from the sources Debian ships in /usr/src/googletest.
set(VESK_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH
  "GoogleTest sources, built for the tests when no GoogleTest package is found")
macro(vesk_find_windows_gtest)
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    if(NOT EXISTS ${VESK_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
      message(FATAL_ERROR "No GoogleTest for Windows: install googletest or set VESK_GOOGLETEST_SOURCE_DIR")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(${VESK_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
    endif()
  endif()
endmacro()
