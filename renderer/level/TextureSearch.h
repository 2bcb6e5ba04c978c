#pragma once

#include <string>

// Where buildLevel finds its texture files: the working directory first, then the
// installed data folder, so an installed program runs from any folder.

// Sets the installed data folder (empty: none, the working directory only).
void setTextureDataFolder(const std::string& folder);
// The folder set above, for messages that say where a file was looked for.
const std::string& textureDataFolder();

// The path to open for a texture file name: the name itself when the working
// directory holds the file, else the data folder's copy when that exists, else
// the name again, so a texture missing from both is reported as before.
std::string texturePath(const char* name);
