# cmake --install: the engine's public headers under include/vesk, its
# static libraries, the vesk-embed command, a CMake package
# (find_package(VeskGL), target VeskGL::VeskGL, vesk_embed_file), a
# pkg-config file (veskgl) and the licence.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(VESK_PACKAGE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/VeskGL")

install(TARGETS ${VESK_ENGINE_LIBRARIES} vesk_engine vesk_warnings vesk-embed
  EXPORT VeskGLTargets
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}"
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(EXPORT VeskGLTargets NAMESPACE VeskGL:: DESTINATION "${VESK_PACKAGE_DIR}")

# Only the public headers install: internals and the platform back ends stay
# under src/, so a program sees the engine's API and nothing behind it.
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/vesk" DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}")

configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/VeskGLConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/VeskGLConfig.cmake" INSTALL_DESTINATION "${VESK_PACKAGE_DIR}")
write_basic_package_version_file("${PROJECT_BINARY_DIR}/VeskGLConfigVersion.cmake"
  VERSION "${PROJECT_VERSION}" COMPATIBILITY SameMinorVersion)
install(FILES "${PROJECT_BINARY_DIR}/VeskGLConfig.cmake" "${PROJECT_BINARY_DIR}/VeskGLConfigVersion.cmake"
  "${CMAKE_CURRENT_LIST_DIR}/Embed.cmake"
  DESTINATION "${VESK_PACKAGE_DIR}")

# The .pc file finds its prefix from where it lies, so an install moved
# with --prefix still works.
file(RELATIVE_PATH VESK_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
configure_file("${CMAKE_CURRENT_LIST_DIR}/veskgl.pc.in" "${PROJECT_BINARY_DIR}/veskgl.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/veskgl.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig")

install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION "${CMAKE_INSTALL_DATAROOTDIR}/doc/veskgl")
