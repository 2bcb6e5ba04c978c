#pragma once

#include "renderer/level/LevelWarnings.h"
#include "renderer/level/wad/WadImport.h"

#include <string>

// Whether a --level argument names a WAD: FILE.wad or FILE.wad:MAP, any case.
bool isWadLevelArgument(const std::string& argument);
// The file such an argument names: FILE.wad without its :MAP.
std::string wadLevelFile(const std::string& argument);

// Puts in place of a WAD argument's file the path findWad finds for it (a bare
// name not in the working folder is looked for where WAD files are installed),
// keeping its :MAP. False, with where it looked, when it is found nowhere.
bool findWadLevel(std::string& argument, std::string& error);

// Opens the WAD (a bare file name not in the working folder is looked for where
// WAD files are installed, as findWad does), reads the map named after the colon (the file's first
// map without one) and imports it. False with one line naming the file and the problem when the
// file or map cannot be read.
bool importWadLevel(const std::string& argument, ImportedLevel& imported, LevelWarnings& warnings,
                    std::string& error);
