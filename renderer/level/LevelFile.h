#pragma once

#include "renderer/level/LevelDescription.h"

#include <string>

// Reading a level file: the JSON, its fields and its geometry, every check before
// anything is built. A problem is reported as one line naming the file and where
// in it the problem is, e.g.
//   hall.json: sectors[3].outline[2]: vertex 99 does not exist (the file has 40)
// Textures are looked up separately (LevelTextures), since that needs the disk.

// Reads the file (at most maxLevelFileBytes), parses and checks it.
bool readLevelFile(const std::string& path, LevelDescription& level, std::string& error);

// Parses and checks a level's text; label names it in the message.
bool parseLevelText(const std::string& text, const std::string& label, LevelDescription& level,
                    std::string& error);

// A name from a level file as a message shows it: control characters and quotes
// written as escapes, so a message stays one line.
std::string printable(const std::string& text);
