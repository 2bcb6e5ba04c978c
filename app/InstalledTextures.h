#pragma once

// Lets the program find the textures installed with it when the working
// directory has none: share/duskhall/textures next to its bin folder on Linux,
// the program's own folder on Windows.
void useInstalledTextures();
