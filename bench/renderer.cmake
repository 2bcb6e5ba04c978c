# One frame of the animation against writing the whole framebuffer once.
if(TARGET duskhall_renderer)
  add_executable(renderer_bench ${CMAKE_CURRENT_LIST_DIR}/RendererBench.cpp)
  target_link_libraries(renderer_bench PRIVATE duskhall_renderer benchmark::benchmark)
  target_compile_definitions(renderer_bench PRIVATE DUSKHALL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# The same view in a small level and in a level of 1000 sectors.
if(TARGET duskhall_renderer)
  add_executable(level_size_bench ${CMAKE_CURRENT_LIST_DIR}/LevelSizeBench.cpp)
  target_link_libraries(level_size_bench PRIVATE duskhall_renderer benchmark::benchmark)
  target_compile_definitions(level_size_bench PRIVATE DUSKHALL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# Frames at sizes from 320 x 240 to 3840 x 2160, their cost a pixel against 320 x 240's.
if(TARGET duskhall_renderer)
  add_executable(frame_size_bench ${CMAKE_CURRENT_LIST_DIR}/FrameSizeBench.cpp)
  target_link_libraries(frame_size_bench PRIVATE duskhall_renderer benchmark::benchmark)
  target_compile_definitions(frame_size_bench PRIVATE DUSKHALL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# Every Freedoom map: load times, and frame rates of views sampled along it against
# the built-in animation's frames.
if(TARGET duskhall_renderer)
  add_executable(wad_map_bench ${CMAKE_CURRENT_LIST_DIR}/WadMapBench.cpp)
  target_link_libraries(wad_map_bench PRIVATE duskhall_renderer benchmark::benchmark)
  target_compile_definitions(wad_map_bench PRIVATE DUSKHALL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endif()

# One view lit and unlit, plain, through a see-through middle, under a sky and with
# both, at two sizes: what light costs a pixel.
if(TARGET duskhall_renderer)
  add_executable(lit_view_bench ${CMAKE_CURRENT_LIST_DIR}/LitViewBench.cpp)
  target_link_libraries(lit_view_bench PRIVATE duskhall_renderer benchmark::benchmark)
endif()

# A view with 100 things against the same view without them, at two sizes.
if(TARGET duskhall_renderer)
  add_executable(things_view_bench ${CMAKE_CURRENT_LIST_DIR}/ThingsViewBench.cpp)
  target_link_libraries(things_view_bench PRIVATE duskhall_renderer benchmark::benchmark)
endif()
