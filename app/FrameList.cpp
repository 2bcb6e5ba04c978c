#include "app/FrameList.h"

#include <cstdint>
#include <cstdlib>

bool parseFrameCount(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value >= 1 && value <= INT32_MAX;
}

bool parseFrameList(const std::string& text, std::vector<long long>& frames) {
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        long long frame = 0;
        if (!parseFrameCount(text.substr(begin, comma - begin), frame)) {
            return false;
        }
        frames.push_back(frame);
        if (comma == std::string::npos) {
            return true;
        }
        begin = comma + 1;
    }
}
