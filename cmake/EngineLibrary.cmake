# The header paths a program writes are <vesk/SUBSYSTEM/HEADER.h>: the public
# headers live under include/vesk in the source tree and install to the same
# place. Internal headers stay beside their sources under src/ and are
# written "SUBSYSTEM/HEADER.h"; only the engine itself, the programs built in
# this tree and the tests see them.

# Gives a library of the engine, and everything that links it, the public
# header path; the library alone also sees the internals.
function(vesk_library_includes target)
  target_include_directories(${target}
    PUBLIC "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>" "$<INSTALL_INTERFACE:include>"
    PRIVATE "${PROJECT_SOURCE_DIR}/src")
endfunction()

# In-tree programs, tests, benchmarks and fuzz targets that reach the
# engine's internals link this; it is never installed.
add_library(vesk_internals INTERFACE)
target_include_directories(vesk_internals INTERFACE "${PROJECT_SOURCE_DIR}/src")
