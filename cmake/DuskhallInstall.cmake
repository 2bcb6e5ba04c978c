# The display library, and what `cmake --install` puts where (GNU install
# folders): the two programs and the textures they find, the README and the
# guide, and the library with its headers, CMake package and pkg-config file.
# Two components: "programs" is what the Windows .zip holds, "development" the rest.
include(CMakePackageConfigHelpers)

set(duskhall_texture_files
  ${CMAKE_SOURCE_DIR}/assets/wall1.png ${CMAKE_SOURCE_DIR}/assets/wall2.png
  ${CMAKE_SOURCE_DIR}/assets/wall3.png ${CMAKE_SOURCE_DIR}/assets/floor1.png
  ${CMAKE_SOURCE_DIR}/assets/floor2.png ${CMAKE_SOURCE_DIR}/assets/floor3.png
  ${CMAKE_SOURCE_DIR}/assets/floor4.png)

install(TARGETS duskhall duskhall-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT programs)
if(WIN32)
  # A Windows program looks for its textures in its own folder.
  install(FILES ${duskhall_texture_files} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
else()
  install(FILES ${duskhall_texture_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/duskhall/textures
          COMPONENT programs)
  install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/library.md
                ${CMAKE_SOURCE_DIR}/docs/levels.md
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/duskhall COMPONENT programs)
endif()

# The library users link: the converters, the display core and this platform's
# screen in one archive (or shared object), behind the headers in include/duskhall/.
# The programs and tests link the same code through the component libraries.
add_library(duskhall_library
  $<TARGET_OBJECTS:duskhall_convert> $<TARGET_OBJECTS:duskhall_display>
  $<TARGET_OBJECTS:duskhall_platform_screen> $<TARGET_OBJECTS:duskhall_platform_factory>)
set_target_properties(duskhall_library PROPERTIES
  OUTPUT_NAME duskhall EXPORT_NAME duskhall LINKER_LANGUAGE CXX
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(duskhall_library PUBLIC
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
target_compile_features(duskhall_library PUBLIC cxx_std_17)
if(WIN32)
  set(duskhall_platform_libraries user32 gdi32 d3d9)
  set(duskhall_needs_sdl2 FALSE)
  target_link_libraries(duskhall_library PRIVATE ${duskhall_platform_libraries})
else()
  set(duskhall_needs_sdl2 TRUE)
  find_package(SDL2 REQUIRED) # its target is visible only where it was found
  target_link_libraries(duskhall_library PRIVATE SDL2::SDL2)
endif()

install(TARGETS duskhall_library EXPORT DuskhallTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT development)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/duskhall DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT development)

set(duskhall_cmake_dir ${CMAKE_INSTALL_LIBDIR}/cmake/Duskhall)
install(EXPORT DuskhallTargets NAMESPACE Duskhall:: DESTINATION ${duskhall_cmake_dir}
        COMPONENT development)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/DuskhallConfig.cmake.in
  ${CMAKE_BINARY_DIR}/DuskhallConfig.cmake INSTALL_DESTINATION ${duskhall_cmake_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/DuskhallConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/DuskhallConfig.cmake ${CMAKE_BINARY_DIR}/DuskhallConfigVersion.cmake
        DESTINATION ${duskhall_cmake_dir} COMPONENT development)

# pkg-config: a static library names what it needs to link; a shared one only
# what its own dependents would need.
file(RELATIVE_PATH pc_prefix_from_pcfiledir ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig
     ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" pc_prefix_from_pcfiledir "${pc_prefix_from_pcfiledir}")
set(pc_requires "")
set(pc_libs "")
set(pc_libs_private "")
if(duskhall_needs_sdl2)
  if(BUILD_SHARED_LIBS)
    set(pc_requires "Requires.private: sdl2")
  else()
    set(pc_requires "Requires: sdl2")
  endif()
else()
  list(JOIN duskhall_platform_libraries " -l" platform_flags)
  if(BUILD_SHARED_LIBS)
    set(pc_libs_private "Libs.private: -l${platform_flags}")
  else()
    set(pc_libs "-l${platform_flags}")
  endif()
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/duskhall.pc.in ${CMAKE_BINARY_DIR}/duskhall.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/duskhall.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT development)
