# The display layer without any platform: screen state, window logic and geometry.
if(TARGET duskhall_display)
  duskhall_test(display_test
    SOURCES
      ${CMAKE_CURRENT_LIST_DIR}/display/DisplayFakes.cpp
      ${CMAKE_CURRENT_LIST_DIR}/display/TestPlatformScreen.cpp
      ${CMAKE_CURRENT_LIST_DIR}/display/ScreenCoreTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/display/KeyCodeTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/display/WindowGeometryTest.cpp
      ${CMAKE_CURRENT_LIST_DIR}/display/WindowCoreTest.cpp
    LIBS duskhall_display)
endif()
