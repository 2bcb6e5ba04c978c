# The world, camera, traversal and drawing, checked against textures whose texels
# name themselves; explore mode and walks; the headless tool; frames of the
# animation pinned by CRC. The label threads marks the suites the ThreadSanitizer
# build runs.
set(renderer_test_dir ${CMAKE_CURRENT_LIST_DIR}/renderer)

duskhall_test(renderer_test
  SOURCES
    ${renderer_test_dir}/RendererFixture.cpp
    ${renderer_test_dir}/LevelTest.cpp
    ${renderer_test_dir}/LevelFileTest.cpp
    ${renderer_test_dir}/SectorLoopsTest.cpp
    ${renderer_test_dir}/FreedoomMapsTest.cpp
    ${renderer_test_dir}/FreedoomWalksTest.cpp
    ${renderer_test_dir}/LevelFileWriterTest.cpp
    ${renderer_test_dir}/TestLevels.cpp
    ${renderer_test_dir}/ThingsTest.cpp
    ${renderer_test_dir}/LevelMemoryTest.cpp
    ${renderer_test_dir}/FrameLoopTest.cpp
    ${renderer_test_dir}/ColumnDrawingTest.cpp
    ${renderer_test_dir}/TraversalTest.cpp
    ${renderer_test_dir}/WallSpansTest.cpp
    ${renderer_test_dir}/FrameCrcTest.cpp
    ${renderer_test_dir}/AnimationPins.cpp
    ${renderer_test_dir}/AnimationCrcTest.cpp
    ${renderer_test_dir}/EyeChecks.cpp
    ${renderer_test_dir}/FreeCameraTest.cpp
    ${renderer_test_dir}/MapViewTest.cpp
    ${renderer_test_dir}/ExploreSessionTest.cpp
    ${renderer_test_dir}/WalkScriptTest.cpp
    ${renderer_test_dir}/ScreenshotsTest.cpp
    ${renderer_test_dir}/SpanRowsTest.cpp
    ${renderer_test_dir}/ExactDivisorTest.cpp
    ${renderer_test_dir}/ColumnWorkersTest.cpp
    ${renderer_test_dir}/FrameBatchTest.cpp
    ${renderer_test_dir}/FrameSizeTest.cpp
    ${renderer_test_dir}/SeeThroughMiddleTest.cpp
    ${renderer_test_dir}/SkyTest.cpp
    ${renderer_test_dir}/SectorLightTest.cpp
    ${renderer_test_dir}/WallAlignmentTest.cpp
  LIBS duskhall_renderer ZLIB::ZLIB
  LABELS threads
  WINE_SHARDS 2)

duskhall_test(renderer_animation_test
  SOURCES ${renderer_test_dir}/AnimationPins.cpp ${renderer_test_dir}/AnimationLongCrcTest.cpp
  LIBS duskhall_renderer
  LABELS slow)

# Runs the built tool through the shell, so only natively.
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  duskhall_test(renderer_tool_test
    SOURCES ${renderer_test_dir}/RendererFixture.cpp ${renderer_test_dir}/EyeChecks.cpp
            ${renderer_test_dir}/ToolRun.cpp ${renderer_test_dir}/TestLevels.cpp
            ${renderer_test_dir}/RenderToolTest.cpp
            ${renderer_test_dir}/BadLevelFilesTest.cpp
            ${renderer_test_dir}/WadMapsToolTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/loader/TestWad.cpp
            ${renderer_test_dir}/DoorsAndLiftsTest.cpp
    LIBS duskhall_renderer
    LABELS threads)
  target_compile_definitions(renderer_tool_test PRIVATE DUSKHALL_VERSION="${PROJECT_VERSION}")
  add_dependencies(renderer_tool_test duskhall-render duskhall)
endif()

# The sample levels are the generator's output: running it again gives the same files.
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  find_package(Python3 COMPONENTS Interpreter)
  if(Python3_FOUND)
    add_test(NAME SampleLevels.TheGeneratorWritesTheCommittedFiles
      COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make-levels.py --check
              --out ${CMAKE_SOURCE_DIR}/levels)
  else()
    message(STATUS "No Python 3: the check that tools/make-levels.py writes levels/ is left out")
  endif()
endif()
