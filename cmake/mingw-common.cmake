# Shared by the MinGW-w64 toolchain files, which set mingw_triplet and wine_arch first.
# Programs link the runtime statically so duskhall.exe needs no DLL beside it, and run
# under Wine of the same architecture whenever CMake or CTest executes them (test
# discovery, ctest).
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_triplet}-windres)

get_filename_component(duskhall_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# Static libpng from `scripts/build-mingw-libpng <arch>`; zlib from libz-mingw-w64-dev.
set(CMAKE_FIND_ROOT_PATH "/usr/${mingw_triplet}" "${duskhall_root}/build/mingw-deps/${wine_arch}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Folders named in CMAKE_PREFIX_PATH (an unpacked Duskhall .zip, say) hold Windows
# libraries too: each is searched as a root of its own.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
set(ZLIB_USE_STATIC_LIBS ON)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The end-to-end scripts run the programs through the same wrapper.
set(DUSKHALL_WINE_ARCH ${wine_arch})
set(CMAKE_CROSSCOMPILING_EMULATOR "${duskhall_root}/tests/win32/wine-run;${wine_arch}")
