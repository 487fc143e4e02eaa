# The header paths a program writes are <vesk/SUBSYSTEM/HEADER.h>. In the
# build tree a folder holds a link named vesk to src/, so that form resolves
# without moving the sources; an install puts the headers under include/vesk.
set(VESK_BUILD_INCLUDE_DIR "${PROJECT_BINARY_DIR}/include")
file(MAKE_DIRECTORY "${VESK_BUILD_INCLUDE_DIR}")
file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src" "${VESK_BUILD_INCLUDE_DIR}/vesk" SYMBOLIC)

# Gives a library of the engine, and everything that links it, the header
# paths: <vesk/...> resolves in the build tree through the link and in an
# install through include/.
function(vesk_library_includes target)
  target_include_directories(${target} PUBLIC
    "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/src>"
    "$<BUILD_INTERFACE:${VESK_BUILD_INCLUDE_DIR}>"
    "$<INSTALL_INTERFACE:include>")
endfunction()
