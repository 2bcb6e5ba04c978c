#include "app/InstalledTextures.h"

#include "renderer/level/TextureSearch.h"

#include <windows.h>

#include <string>

void useInstalledTextures() {
    // The ANSI form, since the loader opens files with fopen.
    char program[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return; // unknown or truncated: the working directory stays the only place searched
    }
    const std::string path(program, length);
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos) {
        setTextureDataFolder(path.substr(0, slash));
    }
}
