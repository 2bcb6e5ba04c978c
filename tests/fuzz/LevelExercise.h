#pragma once

#include <string>

// Reads a level's text as the programs do. An accepted level is then built (with
// textures of its own pattern, no files), drawn for a few frames and walked in
// explore mode. Returns the refusal message, or an empty text for an accepted
// level. Aborts when a refusal is not one line naming the input, so the fuzzer
// and the corpus replay both catch it.
std::string exerciseLevel(const std::string& text);
