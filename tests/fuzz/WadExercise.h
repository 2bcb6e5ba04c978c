#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a WAD's bytes as the programs do: the directory, the sprites, every map
// with its things, the palette, the texture records, every texture composed, every
// flat. Returns the refusal message, or an empty text for an accepted file.
// Aborts when a refusal is not one line naming the input, so the fuzzer and the
// corpus replay both catch it.
std::string exerciseWad(const std::vector<std::uint8_t>& bytes);

// The label exerciseWad gives the bytes in its messages.
constexpr const char* wadExerciseLabel = "input.wad";
