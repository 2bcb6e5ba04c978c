# What `cmake --install` puts where (GNU install folders), in three components that
# are the three Debian packages (cmake/DuskhallPackage.cmake):
#   runtime      the shared library                                  libduskhall0
#   development  headers, static library, the .so link, CMake package,
#                pkg-config file, the guide, the examples, the API
#                reference                                           libduskhall-dev
#   programs     the two programs, their textures and levels, the
#                manual pages, the README                            duskhall
# The Windows .zip holds "programs" and "development" of each Windows build.
include(CMakePackageConfigHelpers)

set(DUSKHALL_RUNTIME_PACKAGE libduskhall${PROJECT_VERSION_MAJOR})
set(DUSKHALL_DEVELOPMENT_PACKAGE libduskhall-dev)
set(DUSKHALL_PROGRAMS_PACKAGE duskhall)
# Each package keeps its documents in a doc folder named after it, as Debian wants.
foreach(component RUNTIME DEVELOPMENT PROGRAMS)
  set(DUSKHALL_${component}_DOC_DIR
      ${CMAKE_INSTALL_DATAROOTDIR}/doc/${DUSKHALL_${component}_PACKAGE})
endforeach()

install(TARGETS duskhall duskhall-render RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT programs)
file(GLOB duskhall_texture_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.png)
if(WIN32)
  # A Windows program looks for its textures in its own folder.
  install(FILES ${duskhall_texture_files} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programs)
else()
  install(FILES ${duskhall_texture_files} DESTINATION ${CMAKE_INSTALL_DATADIR}/duskhall/textures
          COMPONENT programs)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/levels/ DESTINATION ${CMAKE_INSTALL_DATADIR}/duskhall/levels
          COMPONENT programs FILES_MATCHING PATTERN "*.json" PATTERN "*.png")
  install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/docs/levels.md
          DESTINATION ${DUSKHALL_PROGRAMS_DOC_DIR} COMPONENT programs)
  # The guide and the examples, every source the examples folder has.
  install(FILES ${CMAKE_SOURCE_DIR}/docs/library.md
          DESTINATION ${DUSKHALL_DEVELOPMENT_DOC_DIR} COMPONENT development)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${DUSKHALL_DEVELOPMENT_DOC_DIR}/examples
          COMPONENT development
          FILES_MATCHING PATTERN "*.c" PATTERN "*.cpp" PATTERN "*.h" PATTERN "*.py"
                         PATTERN "CMakeLists.txt")
endif()

# The library users link: the converters, the display core and this platform's
# screen in one archive (or shared object), behind the headers in include/duskhall/.
# The programs and tests link the same code through the component libraries. A
# shared build makes the static archive too, from the same objects, and installs
# both as a distribution does: Duskhall::duskhall is then the shared one,
# Duskhall::duskhall_static the archive.
if(WIN32)
  set(duskhall_platform_libraries user32 gdi32 d3d9)
  if(MINGW)
    list(APPEND duskhall_platform_libraries ssp) # the stack canaries' checks
  endif()
  set(duskhall_needs_sdl2 FALSE)
else()
  find_package(SDL2 REQUIRED) # its target is visible only where it was found
  set(duskhall_platform_libraries SDL2::SDL2)
  set(duskhall_needs_sdl2 TRUE)
endif()

function(duskhall_library_target target kind export_name)
  add_library(${target} ${kind}
    $<TARGET_OBJECTS:duskhall_convert> $<TARGET_OBJECTS:duskhall_display>
    $<TARGET_OBJECTS:duskhall_platform_screen> $<TARGET_OBJECTS:duskhall_platform_factory>)
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME duskhall EXPORT_NAME ${export_name} LINKER_LANGUAGE CXX)
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include> $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_link_libraries(${target} PRIVATE ${duskhall_platform_libraries})
endfunction()

duskhall_library_target(duskhall_library "" duskhall)
set_target_properties(duskhall_library PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
set(duskhall_library_targets duskhall_library)
if(BUILD_SHARED_LIBS)
  duskhall_library_target(duskhall_static STATIC duskhall_static)
  list(APPEND duskhall_library_targets duskhall_static)
endif()

install(TARGETS ${duskhall_library_targets} EXPORT DuskhallTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
# Every header of the public folder, whatever is added to it.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/duskhall DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT development FILES_MATCHING PATTERN "*.h")

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
# what its own dependents would need (and `pkg-config --static` what the archive
# beside it needs).
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
# The library is C++: a C program linked statically needs its runtime too.
if(pc_libs_private)
  string(APPEND pc_libs_private " -lstdc++ -lm")
else()
  set(pc_libs_private "Libs.private: -lstdc++ -lm")
endif()
configure_file(${CMAKE_SOURCE_DIR}/cmake/duskhall.pc.in ${CMAKE_BINARY_DIR}/duskhall.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/duskhall.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT development)
