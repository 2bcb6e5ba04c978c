# The Windows examples, built against this cross build's install tree and run
# under Wine. (Natively, scripts/test-library does the same against a fresh
# install, with find_package and with pkg-config.)
if(WIN32 AND CMAKE_CROSSCOMPILING)
  add_test(NAME library.ExamplesBuildAgainstTheInstallTreeAndShowTheirFrames
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/library/windows-examples.sh ${CMAKE_BINARY_DIR}
            ${CMAKE_TOOLCHAIN_FILE} "${CMAKE_CROSSCOMPILING_EMULATOR}"
            ${CMAKE_BINARY_DIR}/library-test)
  set_tests_properties(library.ExamplesBuildAgainstTheInstallTreeAndShowTheirFrames PROPERTIES
    LABELS "win32;e2e" TIMEOUT 600 RUN_SERIAL TRUE)
endif()
