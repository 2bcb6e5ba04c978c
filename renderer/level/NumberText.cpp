#include "renderer/level/NumberText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string numberText(float value) {
    // Plain digits where they are as short as they can be (30, not 3e+01).
    std::string shortest;
    for (int digits = 1; digits <= 9; ++digits) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) != value) {
            continue;
        }
        if (std::strchr(text, 'e') == nullptr) {
            return text;
        }
        shortest = shortest.empty() ? text : shortest;
    }
    return shortest;
}

std::string pointText(float x, float y) {
    return "(" + numberText(x) + ", " + numberText(y) + ")";
}
