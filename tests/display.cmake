# The display layer: screen lifecycle, window logic and geometry over a test
# platform; the shell; the SDL screen's pure parts; and, on a real or virtual X
# display, the SDL screen and the demo program themselves.
duskhall_test(display_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/DisplayFakes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/TestPlatformScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ScreenCoreTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ScreenRulesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ScreenSizeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ScreenStyleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/CInterfaceTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/KeyCodeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/WindowGeometryTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/WindowCoreTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/WindowInputTest.cpp
  LIBS duskhall_display)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC's speculative devirtualisation of a handle's accessors, inlined into a
  # check that takes any Screen, warns of a ScreenCore read outside a ScreenHandle
  # (a false positive at -O3).
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/display/ScreenCoreTest.cpp
    PROPERTIES COMPILE_OPTIONS -Wno-array-bounds)
endif()

# The window fuzzer's kept inputs, played over the same test platform.
duskhall_test(display_fuzz_replay_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/TestPlatformScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/WindowCorpusReplayTest.cpp
    ${CMAKE_SOURCE_DIR}/tests/fuzz/WindowSession.cpp
  LIBS duskhall_display)

duskhall_test(display_shell_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/DisplayFakes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/TestPlatformScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ApplicationShellTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/ExploreControlsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/FrameRateTitleTest.cpp
  LIBS duskhall_app)
add_dependencies(display_shell_test duskhall)

if(NOT WIN32)
  duskhall_test(display_sdl_events_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/display/SdlEventsTest.cpp
    LIBS duskhall_platform_screen)

  # Tests that open windows run on $DISPLAY, or inside their own Xvfb when there
  # is none; one at a time, so that a test's windows and key presses stay its own
  # on a shared $DISPLAY.
  find_package(X11 REQUIRED)
  add_executable(display_xvfb_test
    ${CMAKE_CURRENT_LIST_DIR}/display/DisplayFakes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/XWindowProbe.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/SdlScreenTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/SdlInputTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/SdlTwoScreensTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/SdlResizeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/SdlDisplayScaleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/display/DemoWindowTest.cpp)
  target_link_libraries(display_xvfb_test PRIVATE duskhall_platform_factory X11::X11 ${gtest_libs})
  target_compile_definitions(display_xvfb_test PRIVATE
    DUSKHALL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DUSKHALL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(display_xvfb_test PROPERTIES
    CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/display/with-display)
  add_dependencies(display_xvfb_test duskhall)
  gtest_discover_tests(display_xvfb_test DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_LIST_DIR}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "xvfb" RESOURCE_LOCK "xvfb" TIMEOUT 120
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/display/lsan-suppressions.txt")

  add_test(NAME DemoMissingTexture.ShowsTheHousekeepingBoxAndEndsWithOne
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/display/with-display
            ${CMAKE_CURRENT_LIST_DIR}/display/missing-texture-box.sh $<TARGET_FILE:duskhall>)
  set_tests_properties(DemoMissingTexture.ShowsTheHousekeepingBoxAndEndsWithOne PROPERTIES
    LABELS "xvfb" RESOURCE_LOCK "xvfb" TIMEOUT 60
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/display/lsan-suppressions.txt")

  # The same scale check on a server of 192 dots per inch, where SDL has no figure
  # and X's millimetres must give 2.
  add_test(NAME SdlDisplayScale.OnA192DpiServerIsTwo
    COMMAND env -u DISPLAY XVFB_DPI=192 ${CMAKE_CURRENT_LIST_DIR}/display/with-display
            $<TARGET_FILE:display_xvfb_test> --gtest_filter=SdlDisplayScale.*)
  set_tests_properties(SdlDisplayScale.OnA192DpiServerIsTwo PROPERTIES
    LABELS "xvfb" RESOURCE_LOCK "xvfb" TIMEOUT 60
    ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/display/lsan-suppressions.txt")

  # Every private display of the tests comes from xvfb.sh; its server must take a
  # client that arrives just as another leaves.
  add_test(NAME PrivateDisplay.LetsInAClientThatArrivesAsAnotherLeaves
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/display/xvfb-keeps-clients.sh)
  set_tests_properties(PrivateDisplay.LetsInAClientThatArrivesAsAnotherLeaves PROPERTIES TIMEOUT 60)
endif()

# The browser screen's key map and event translation are plain values and are
# checked natively; the screen itself is tested in Chromium (make test-web).
duskhall_test(display_web_events_test
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/display/WebEventsTest.cpp
    ${CMAKE_SOURCE_DIR}/display/web/WebEvents.cpp
    ${CMAKE_SOURCE_DIR}/display/web/WebKeyMap.cpp
  LIBS duskhall_display)
