# Cross build for 32-bit Windows with MinGW-w64 (posix threads), tested under 32-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(mingw_triplet i686-w64-mingw32)
set(wine_arch win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
