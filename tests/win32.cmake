# Windows-only suites: run under Wine through the cross-compiling emulator.
if(NOT WIN32)
  return()
endif()

set(win32_test_dir ${CMAKE_CURRENT_SOURCE_DIR}/win32)

if(TARGET duskhall_output AND TARGET duskhall_convert)
  duskhall_test(win32_output_tests
    SOURCES ${win32_test_dir}/FakeDirect3D.cpp
            ${win32_test_dir}/Direct3DOutputTest.cpp
            ${win32_test_dir}/Direct3DUploadTest.cpp
    LIBS duskhall_output
    LABELS win32)
endif()

if(TARGET duskhall_platform_screen)
  file(GLOB win32_screen_tests CONFIGURE_DEPENDS ${win32_test_dir}/Win32*Test.cpp
       ${win32_test_dir}/AppWindow*Test.cpp)
  if(win32_screen_tests)
    duskhall_test(win32_screen_tests
      SOURCES ${win32_test_dir}/FakeDirect3D.cpp ${win32_screen_tests}
      LIBS duskhall_platform_screen
      LABELS win32)
  endif()
endif()
