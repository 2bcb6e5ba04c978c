#pragma once

#include <string>

// The shortest decimal text that reads back as exactly this float, so two numbers
// that differ never print alike in a message (0.4 and 0.39999998).
std::string numberText(float value);

// "(x, y)" with numberText's digits.
std::string pointText(float x, float y);
