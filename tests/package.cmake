# The installed programs find their textures: beside the .exe on Windows, in
# share/duskhall/textures beside the bin folder on Linux (the package stage also
# unpacks the .deb for it). Both run frame 1 of the animation, as every build draws it.
if(WIN32)
  set(installed_textures_test InstalledTextures.WindowsProgramFindsTheTexturesBesideIt)
  set(program_folder program)
  set(texture_folder program)
  set(installed_textures_label win32)
else()
  set(installed_textures_test InstalledTextures.LinuxProgramFindsTheTexturesInTheDataFolder)
  set(program_folder ${CMAKE_INSTALL_BINDIR})
  set(texture_folder ${CMAKE_INSTALL_DATADIR}/duskhall/textures)
  set(installed_textures_label installed)
endif()
add_test(NAME ${installed_textures_test}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:duskhall-render>
          "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DTEXTURES=${CMAKE_SOURCE_DIR}/assets
          -DSCRATCH=${CMAKE_BINARY_DIR}/installed-textures -DPROGRAM_FOLDER=${program_folder}
          -DTEXTURE_FOLDER=${texture_folder}
          -P ${CMAKE_CURRENT_LIST_DIR}/package/installed-textures.cmake)
set_tests_properties(${installed_textures_test} PROPERTIES
  LABELS ${installed_textures_label} TIMEOUT 120 PASS_REGULAR_EXPRESSION "frame 1 crc32 8E0788F6")

# Each program's manual page renders and names the options its --help names.
foreach(program duskhall duskhall-render)
  if(NOT TARGET ${program} OR NOT DEFINED DUSKHALL_MAN_DIR)
    continue()
  endif()
  add_test(NAME ManPage.${program}MatchesHelp
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/package/man-page-matches-help.sh
            $<TARGET_FILE:${program}> ${DUSKHALL_MAN_DIR}/${program}.1)
  set_tests_properties(ManPage.${program}MatchesHelp PROPERTIES
    LABELS man TIMEOUT 60 SKIP_RETURN_CODE 77)
endforeach()

# The API reference's configuration refuses undocumented public names.
if(NOT CMAKE_CROSSCOMPILING)
  add_test(NAME ApiDocs.UndocumentedPublicNameFailsNamingHeaderAndLine
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/package/api-docs-strict.sh ${CMAKE_SOURCE_DIR})
  set_tests_properties(ApiDocs.UndocumentedPublicNameFailsNamingHeaderAndLine PROPERTIES
    LABELS docs TIMEOUT 120 SKIP_RETURN_CODE 77)
endif()
