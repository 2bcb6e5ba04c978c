#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "renderer/level/Pixel.h"

// Writes a level file into a folder of the build tree named after it, beside the
// seven coded textures (RendererFixture's), and returns its path.
std::filesystem::path writeTestLevel(const std::string& name, const std::string& json);

// The first frame of the level file at path, drawn at 320 x 240 into a cleared
// frame; the level is freed again. A level that does not load fails the test.
std::vector<PackedPixel> drawFirstFrame(const std::filesystem::path& path);

// A straight corridor of the given number of sectors along +x, each sectorLength
// long, from x = 0, 2 wide, floor 0, ceiling 3: side walls wall1, the far end wall3, floors floor1,
// ceilings floor2; the eye starts at (0.5, 0) looking along +x. Unused points pad
// the vertices to the given count.
std::string corridorLevel(int sectors, int vertices, double sectorLength);
