#include "renderer/level/LevelWarnings.h"

void LevelWarnings::add(const std::string& place, const std::string& text) {
    if (seen_.insert(line({place, text})).second) {
        keep(place, text);
    }
}

void LevelWarnings::addOnce(const std::string& topic, const std::string& place,
                            const std::string& text) {
    // A topic cannot be mistaken for a line: lines never start with a NUL.
    if (seen_.insert(std::string(1, '\0') + topic).second) {
        keep(place, text);
    }
}

void LevelWarnings::clear() {
    kept_.clear();
    seen_.clear();
    leftOut_ = 0;
}

std::string LevelWarnings::line(const LevelWarning& warning) {
    return warning.place.empty() ? warning.text : warning.place + ": " + warning.text;
}

void LevelWarnings::keep(const std::string& place, const std::string& text) {
    if (kept_.size() < mostKept) {
        kept_.push_back({place, text});
    } else {
        ++leftOut_;
    }
}

void LevelWarnings::print(std::FILE* to, const std::string& lead) const {
    for (const LevelWarning& warning : kept_) {
        std::fprintf(to, "%swarning: %s\n", lead.c_str(), line(warning).c_str());
    }
    if (leftOut_ > 0) {
        std::fprintf(to, "%swarning: %zu more not shown\n", lead.c_str(), leftOut_);
    }
}
