#pragma once

#include <string>
#include <vector>

// Frame numbers as the command lines and the page's query take them: decimal
// digits only, 1 up to 2^31 - 1.
bool parseFrameCount(const std::string& text, long long& value);

// A comma-separated list of frame numbers ("1,2,100"), appended to frames in
// order. False (frames then holds the numbers read so far) on any bad entry.
bool parseFrameList(const std::string& text, std::vector<long long>& frames);
