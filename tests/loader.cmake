# Texture loading, the allocation registry, the committed textures and the
# fuzzer's corpus.
set(loader_dir ${CMAKE_CURRENT_LIST_DIR}/loader)

duskhall_test(loader_png_test
  SOURCES ${loader_dir}/PngLoaderTest.cpp ${loader_dir}/TransposeTextureTest.cpp
          ${loader_dir}/TestPng.cpp ${loader_dir}/ResourceProbe.cpp
  LIBS duskhall_renderer PNG::PNG ZLIB::ZLIB)

# Its own program: the growth check needs a registry nobody has used yet.
duskhall_test(loader_registry_test
  SOURCES ${loader_dir}/HousekeepingTest.cpp ${loader_dir}/ResourceProbe.cpp
  LIBS duskhall_renderer)

duskhall_test(loader_texture_search_test
  SOURCES ${loader_dir}/TextureSearchTest.cpp
  LIBS duskhall_renderer)

duskhall_test(loader_corpus_test
  SOURCES ${loader_dir}/CorpusReplayTest.cpp
  LIBS duskhall_renderer)

if(NOT CMAKE_CROSSCOMPILING) # the generator is a developer tool of the native build
  duskhall_test(loader_assets_test
    SOURCES ${loader_dir}/TextureAssetsTest.cpp
    LIBS duskhall_renderer)
  target_compile_definitions(loader_assets_test PRIVATE
    MAKE_TEXTURES_PATH="$<TARGET_FILE:make-textures>"
    MAKE_LANTERN_TEXTURES_PATH="$<TARGET_FILE:make-lantern-textures>")
  add_dependencies(loader_assets_test make-textures make-lantern-textures)
endif()

# The level fuzzer's corpus and the bundled levels, through the fuzzer's own steps.
duskhall_test(loader_level_corpus_test
  SOURCES ${loader_dir}/LevelCorpusReplayTest.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz/LevelExercise.cpp
  LIBS duskhall_renderer)

# The WAD reader against small WADs built in the test, and the Freedoom WADs when
# the package is installed.
duskhall_test(loader_wad_test
  SOURCES ${loader_dir}/WadReaderTest.cpp ${loader_dir}/WadFreedoomTest.cpp
          ${loader_dir}/WadLineSpecialsTest.cpp ${loader_dir}/WadImportTest.cpp
          ${loader_dir}/WadThingsTest.cpp
          ${loader_dir}/TestWad.cpp ${CMAKE_CURRENT_LIST_DIR}/fuzz/WadExercise.cpp
  LIBS duskhall_renderer)
