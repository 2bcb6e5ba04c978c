#pragma once

#include <string>
#include <vector>

// Where a WAD given by name is found, so "freedoom2.wad" opens from any folder
// when Debian's freedoom package (or another game-data package) is installed.

// The folders searched for a bare file name, in order: DOOMWADDIR, each folder of
// DOOMWADPATH (separated by ':' or ';'), then the usual game-data folders.
std::vector<std::string> wadSearchFolders();

// The path to open for what the user gave. A path that exists, or any name with a
// folder in it, is taken as it is; a bare name not in the working folder is looked
// for in the search folders. False, with one line saying where it looked, when a
// bare name is found nowhere.
bool findWad(const std::string& given, std::string& path, std::string& error);
