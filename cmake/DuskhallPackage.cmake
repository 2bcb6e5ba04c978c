# `make package`: the Debian package from the native build. The Windows .zip is
# put together from the cross builds by packaging/windows-zip.cmake.
if(WIN32 OR CMAKE_CROSSCOMPILING)
  return()
endif()

# Debian wants a copyright file and a compressed changelog in the package's doc folder.
set(debian_doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/duskhall)
execute_process(
  COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/packaging/changelog
  OUTPUT_FILE ${CMAKE_BINARY_DIR}/changelog.gz
  RESULT_VARIABLE gzip_status)
if(NOT gzip_status EQUAL 0)
  message(FATAL_ERROR "cannot compress packaging/changelog")
endif()
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz
        DESTINATION ${debian_doc} COMPONENT programs)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME duskhall)
set(CPACK_PACKAGE_VENDOR "Duskhall developers")
set(CPACK_PACKAGE_CONTACT "Duskhall developers <duskhall@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small software renderer and framebuffer display library")
set(CPACK_PACKAGE_DESCRIPTION
  "Duskhall renders a small world of two rooms joined by portals, column by\n"
  "column, into a 320 x 240 framebuffer, and shows it through its own display\n"
  "layer.\n"
  "The package holds the demo (duskhall), the headless renderer\n"
  "(duskhall-render) with its textures, and the display layer as a library\n"
  "with headers, a CMake package and a pkg-config file.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime libraries (SDL2, libpng, zlib, the C++ runtime) come from dpkg-shlibdeps;
# building against the library needs SDL2's headers as well.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libsdl2-dev, pkg-config, cmake")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
include(CPack)
