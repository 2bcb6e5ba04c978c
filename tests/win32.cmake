# Windows-only suites: run under Wine through the cross-compiling emulator.
if(NOT WIN32)
  return()
endif()

set(win32_test_dir ${CMAKE_CURRENT_SOURCE_DIR}/win32)

duskhall_test(win32_output_tests
  SOURCES ${win32_test_dir}/FakeDirect3D.cpp
          ${win32_test_dir}/Direct3DOutputTest.cpp
          ${win32_test_dir}/Direct3DUploadTest.cpp
  LIBS duskhall_platform_screen
  LABELS win32)

duskhall_test(win32_screen_tests
  SOURCES ${win32_test_dir}/FakeDirect3D.cpp
          ${win32_test_dir}/Win32Direct3DTest.cpp
          ${win32_test_dir}/Win32ScreenTest.cpp
          ${win32_test_dir}/Win32ScreenRulesTest.cpp
          ${win32_test_dir}/Win32WindowTest.cpp
          ${win32_test_dir}/Win32InputTest.cpp
  LIBS duskhall_platform_factory
  LABELS win32)

# End to end: the real programs under the Wine of this build's architecture (set by
# the toolchain file) on the X display of the test run.
set(e2e_dir ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
set(e2e_out ${CMAKE_BINARY_DIR}/e2e)
add_test(NAME e2e.DemoShowsTexturedFramesAndEndsOnEscape
  COMMAND bash ${e2e_dir}/demo-shows-frames.sh $<TARGET_FILE:duskhall>
          ${CMAKE_SOURCE_DIR}/assets ${e2e_out}/demo)
add_test(NAME e2e.MissingTextureShowsTheHousekeepingBox
  COMMAND bash ${e2e_dir}/missing-texture.sh $<TARGET_FILE:duskhall>
          ${CMAKE_SOURCE_DIR}/assets ${e2e_out}/missing-texture)
set_tests_properties(e2e.DemoShowsTexturedFramesAndEndsOnEscape
  e2e.MissingTextureShowsTheHousekeepingBox
  PROPERTIES LABELS "win32;e2e" TIMEOUT 180 RUN_SERIAL TRUE
             ENVIRONMENT DUSKHALL_WINE_ARCH=${DUSKHALL_WINE_ARCH})
add_test(NAME e2e.ProgramsAreConsoleProgramsOfTheirArchitecture
  COMMAND bash ${e2e_dir}/pe-format.sh ${DUSKHALL_WINE_ARCH}
          $<TARGET_FILE:duskhall> $<TARGET_FILE:duskhall-render>)
set_tests_properties(e2e.ProgramsAreConsoleProgramsOfTheirArchitecture
  PROPERTIES LABELS "win32;e2e")
add_test(NAME e2e.RenderCrcsMatchTheNativeBuild
  COMMAND bash ${e2e_dir}/render-parity.sh $<TARGET_FILE:duskhall-render>
          ${CMAKE_SOURCE_DIR}/build/linux/duskhall-render ${CMAKE_SOURCE_DIR}/assets)
set_tests_properties(e2e.RenderCrcsMatchTheNativeBuild
  PROPERTIES LABELS "win32;e2e" TIMEOUT 300 SKIP_RETURN_CODE 77
             ENVIRONMENT DUSKHALL_WINE_ARCH=${DUSKHALL_WINE_ARCH})

# Direct3D's four-float surface shows float and integer frames in their own colours,
# read back from the window.
add_executable(float-surface-colours ${win32_test_dir}/FloatSurfaceColours.cpp)
target_link_libraries(float-surface-colours PRIVATE duskhall_platform_factory)
add_test(NAME e2e.FloatSurfaceShowsTheColoursOfTheFrames
  COMMAND bash ${e2e_dir}/float-surface-colours.sh $<TARGET_FILE:float-surface-colours>
          ${e2e_out}/float-surface-colours)
set_tests_properties(e2e.FloatSurfaceShowsTheColoursOfTheFrames
  PROPERTIES LABELS "win32;e2e" TIMEOUT 180 RUN_SERIAL TRUE SKIP_RETURN_CODE 77
             ENVIRONMENT DUSKHALL_WINE_ARCH=${DUSKHALL_WINE_ARCH})

# The programs that open windows are per-monitor DPI aware, as the demo is.
duskhall_dpi_manifest(win32_screen_tests)
duskhall_dpi_manifest(float-surface-colours)
add_test(NAME e2e.WindowProgramsDeclarePerMonitorDpiAwareness
  COMMAND python3 ${e2e_dir}/dpi-manifest.py $<TARGET_FILE:duskhall>
          $<TARGET_FILE:win32_screen_tests> $<TARGET_FILE:float-surface-colours>)
set_tests_properties(e2e.WindowProgramsDeclarePerMonitorDpiAwareness
  PROPERTIES LABELS "win32;e2e")

# The window tests press Alt through the input queue: keep them away from others.
set_tests_properties(win32_screen_tests PROPERTIES RUN_SERIAL TRUE)
