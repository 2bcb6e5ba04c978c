# The installed programs find their textures: beside the .exe on Windows (here),
# in share/duskhall/textures on Linux (the package stage unpacks the .deb for it).
if(WIN32)
  add_test(NAME InstalledTextures.WindowsProgramFindsTheTexturesBesideIt
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:duskhall-render>
            "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}" -DTEXTURES=${CMAKE_SOURCE_DIR}/assets
            -DSCRATCH=${CMAKE_BINARY_DIR}/beside-program
            -P ${CMAKE_CURRENT_LIST_DIR}/package/beside-program.cmake)
  # Frame 1 of the animation, as every build draws it.
  set_tests_properties(InstalledTextures.WindowsProgramFindsTheTexturesBesideIt PROPERTIES
    LABELS "win32" TIMEOUT 120 PASS_REGULAR_EXPRESSION "frame 1 crc32 8E0788F6")
endif()
