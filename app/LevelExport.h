#pragma once

#include <string>

// duskhall-render --level FILE.wad:MAP --export DIR: writes DIR/MAP.json and the
// PNG of every texture it names beside it. Returns the exit status: 0, or 2 with
// one line on standard error naming what could not be read or written.
int exportWadLevel(const std::string& levelArgument, const std::string& folder);
