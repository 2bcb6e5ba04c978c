# showFrame against plain SDL2 on an X display (Linux only; run through
# scripts/run-benchmarks, which gives it an Xvfb of its own).
if(TARGET duskhall_platform_factory AND NOT WIN32 AND NOT EMSCRIPTEN)
  add_executable(bench-display ${CMAKE_CURRENT_LIST_DIR}/DisplayBench.cpp)
  target_link_libraries(bench-display PRIVATE duskhall_platform_factory benchmark::benchmark)
endif()
