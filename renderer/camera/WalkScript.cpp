#include "renderer/camera/WalkScript.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr std::int64_t mostFrames = INT32_MAX; // as many as a frame number may count

struct KeyName {
    const char* name;
    bool MoveInput::*held;
};

constexpr KeyName keyNames[] = {
    {"forward", &MoveInput::forward},
    {"back", &MoveInput::back},
    {"strafe-left", &MoveInput::strafeLeft},
    {"strafe-right", &MoveInput::strafeRight},
    {"turn-left", &MoveInput::turnLeft},
    {"turn-right", &MoveInput::turnRight},
    {"use", &MoveInput::use},
};

bool parseCount(const std::string& word, std::int64_t& count) {
    if (word.empty() || word.size() > 10 ||
        word.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    count = std::strtoll(word.c_str(), nullptr, 10);
    return count >= 1 && count <= mostFrames;
}

bool holdKey(const std::string& word, MoveInput& keys) {
    for (const KeyName& key : keyNames) {
        if (word == key.name) {
            keys.*key.held = true;
            return true;
        }
    }
    return false;
}

} // namespace

bool WalkScript::parse(std::istream& text, std::string& error) {
    stretches_.clear();
    frames_ = 0;
    cursor_ = 0;
    std::string line;
    for (long number = 1; std::getline(text, line); ++number) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back(); // written on Windows
        }
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') {
            continue;
        }
        std::ostringstream why;
        why << "line " << number << ": ";
        std::int64_t count = 0;
        if (!parseCount(word, count)) {
            why << "\"" << word << "\" is not a frame count (1 to " << mostFrames << ")";
            error = why.str();
            return false;
        }
        if (count > mostFrames - frames_) {
            why << "the walk is longer than " << mostFrames << " frames";
            error = why.str();
            return false;
        }
        MoveInput keys;
        while (words >> word) {
            if (!holdKey(word, keys)) {
                why << "unknown key \"" << word
                    << "\" (keys: forward, back, strafe-left, strafe-right, turn-left, turn-right, "
                       "use)";
                error = why.str();
                return false;
            }
        }
        frames_ += count;
        stretches_.push_back({frames_, keys});
    }
    if (text.bad()) {
        error = "cannot be read";
        return false;
    }
    if (frames_ == 0) {
        error = "no frames in the walk";
        return false;
    }
    return true;
}

MoveInput WalkScript::keysAt(std::int64_t frame) {
    if (frame < 1 || frame > frames_) {
        return {};
    }
    if (cursor_ >= stretches_.size() ||
        (cursor_ > 0 && frame <= stretches_[cursor_ - 1].lastFrame)) {
        cursor_ = 0;
    }
    while (stretches_[cursor_].lastFrame < frame) {
        ++cursor_;
    }
    return stretches_[cursor_].keys;
}
