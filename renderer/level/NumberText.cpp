#include "renderer/level/NumberText.h"

#include <cstdio>
#include <cstdlib>

std::string numberText(float value) {
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        if (std::strtof(text, nullptr) == value) {
            break;
        }
    }
    return text;
}

std::string pointText(float x, float y) {
    return "(" + numberText(x) + ", " + numberText(y) + ")";
}
