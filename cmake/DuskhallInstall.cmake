# What `cmake --install` puts where (GNU install folders): the two programs and
# the textures they find beside them, the README, and the display library with
# its headers, CMake package and pkg-config file. Two components: "programs" is
# what the Windows .zip holds, "development" the rest.
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
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/duskhall COMPONENT programs)
endif()
