#pragma once

#include "renderer/level/LevelWarnings.h"
#include "renderer/level/wad/WadImport.h"

#include <string>

// Whether a --level argument names a WAD: FILE.wad or FILE.wad:MAP, any case.
bool isWadLevelArgument(const std::string& argument);
// The file such an argument names: FILE.wad without its :MAP.
std::string wadLevelFile(const std::string& argument);

// Opens the WAD, reads the map named after the colon (the file's first map
// without one) and imports it. False with one line naming the file and the
// problem when the file or map cannot be read.
bool importWadLevel(const std::string& argument, ImportedLevel& imported, LevelWarnings& warnings,
                    std::string& error);
