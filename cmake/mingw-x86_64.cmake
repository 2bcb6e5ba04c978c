# Cross build for 64-bit Windows with MinGW-w64 (posix threads), tested under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(mingw_triplet x86_64-w64-mingw32)
set(wine_arch win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
