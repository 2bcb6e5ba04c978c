#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Plays one fuzz input against a screen over a test platform: window messages
// posted and sent, frames, mode switches, opens and closes, observer callbacks
// that close or reopen the screen from inside a handler, platform calls that
// fail or send messages of their own. Checks the screen's invariants after every
// step; returns the first one broken, or an empty text.
std::string runWindowSession(const std::uint8_t* data, std::size_t size);
