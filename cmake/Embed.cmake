# Embedding files in a target: the exact bytes of a file become read-only
# data of the target, with their address and size known to C++ code.
#
#   include(Embed)
#   vesk_embed_file(<target> <symbol> <file> [DEPENDS <targets>...])
#
# <symbol> is a C identifier naming the data; it must be unique within the
# program, since the data is reached through global labels derived from it
# (vesk_embed_<symbol>_begin and _end). At build time the function runs the
# engine's vesk-embed command, which writes into the build tree an assembly
# source that pulls the file in with the assembler's .incbin directive (added
# to <target>) and the header "embedded/<symbol>.h" (on <target>'s include
# path) declaring
#
#   const unsigned char* vesk::embedded::<symbol>_data();   // first byte
#   std::uint32_t        vesk::embedded::<symbol>_size();   // byte count
#
# The bytes are followed by one 0 byte that the size does not count. The file
# is a dependency of the assembly object, so changing it re-assembles. When
# the file is made at build time by another target, name that target under
# DEPENDS so it is built first.
#
# The embedded data is assembled, so the project must enable the ASM
# language. A program using the installed engine gets this function with
# find_package(VeskGL); other build systems run the installed vesk-embed
# themselves (vesk-embed SYMBOL FILE OUTDIR writes the same two files).
#
# The engine registers embedded files as resources and opens them by name:
#
#   vesk_embed_file(vesk_intro intro_wav ${PROJECT_SOURCE_DIR}/assets/basic/intro.wav)
#
#   #include "embedded/intro_wav.h"
#   RegisterResource(u"\\basic\\intro.wav", embedded::intro_wav_data(),
#                    embedded::intro_wav_size());
#   ... OpenForReading(u"incbin::\\basic\\intro.wav") ...

function(vesk_embed_file target symbol file)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_property(languages GLOBAL PROPERTY ENABLED_LANGUAGES)
  if(EMSCRIPTEN)
    # The web toolchain assembles no stand-alone ELF sources; its C compiler
    # takes the same directive as inline assembly.
    if(NOT "C" IN_LIST languages)
      message(FATAL_ERROR "vesk_embed_file: the project must enable C for the web toolchain")
    endif()
  elseif(NOT "ASM" IN_LIST languages)
    message(FATAL_ERROR "vesk_embed_file: the project must enable ASM, e.g. project(app LANGUAGES C CXX ASM)")
  endif()
  if(NOT symbol MATCHES "^[A-Za-z_][A-Za-z0-9_]*$")
    message(FATAL_ERROR "vesk_embed_file: '${symbol}' is not a C identifier")
  endif()
  get_filename_component(path "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")

  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/vesk_embed")
  if(EMSCRIPTEN)
    set(form --c)
    set(asm_file "${out_dir}/${symbol}.c")
  elseif(WIN32)
    # A PE image: 32-bit Windows puts an underscore before C names.
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      set(form --pe32)
    else()
      set(form --pe64)
    endif()
    set(asm_file "${out_dir}/${symbol}.s")
  else()
    set(form "")
    set(asm_file "${out_dir}/${symbol}.s")
  endif()
  set(header_file "${out_dir}/embedded/${symbol}.h")

  # vesk-embed writes both files at build time, the same command a build
  # without CMake runs. The file below changes only when the embedded path
  # does, so a new path for the symbol writes them again.
  set(request_file "${out_dir}/${symbol}.request")
  file(CONFIGURE OUTPUT "${request_file}" CONTENT "@path@\n" @ONLY)
  add_custom_command(OUTPUT "${asm_file}" "${header_file}"
    COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:VeskGL::vesk-embed> ${form} ${symbol} ${path} ${out_dir}
    DEPENDS VeskGL::vesk-embed "${request_file}"
    COMMENT "Embedding ${path} as ${symbol}"
    VERBATIM)

  if(EMSCRIPTEN)
    set_source_files_properties("${asm_file}" PROPERTIES LANGUAGE C OBJECT_DEPENDS "${path}")
  else()
    set_source_files_properties("${asm_file}" PROPERTIES LANGUAGE ASM OBJECT_DEPENDS "${path}")
  endif()
  target_sources(${target} PRIVATE "${asm_file}" "${header_file}")
  # The generated headers belong to this build; an installed target does
  # not carry them.
  target_include_directories(${target} PUBLIC "$<BUILD_INTERFACE:${out_dir}>")
  if(ARG_DEPENDS)
    add_dependencies(${target} ${ARG_DEPENDS})
  endif()
endfunction()
