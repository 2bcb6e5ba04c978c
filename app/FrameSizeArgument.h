#pragma once

#include <cstdint>
#include <string>

// A frame size as the command lines and the page's query take it: WIDTHxHEIGHT in
// decimal digits ("1920x1080"), inside the sizes the renderer draws. On failure,
// error says what is wrong in a line for the user, naming the sizes allowed.
bool parseFrameSize(const std::string& text, std::int32_t& width, std::int32_t& height,
                    std::string& error);
