#pragma once

#include <string>

// duskhall-render --maps FILE.wad: one line per map of the WAD, its name and how
// many sectors, lines and things it has. The WAD may be given by name alone
// (freedoom2.wad) when it is installed. Returns the program's status: 0, or 2 with
// one line on standard error when the file cannot be read.
int listWadMaps(const std::string& given);
