#pragma once

#include "renderer/camera/FreeCamera.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

// A replayable walk: each line of its text is a frame count followed by the keys
// held for those frames (forward, back, strafe-left, strafe-right, turn-left,
// turn-right, use: the use key, acting once when a stretch with it begins after
// one without); a count alone stands still. Blank lines and lines starting with #
// are skipped.
class WalkScript {
  public:
    // Reads the whole text. On failure returns false and says why in error, naming
    // the line ("line 3: unknown key \"jump\"").
    bool parse(std::istream& text, std::string& error);

    // Frames in the whole walk.
    std::int64_t frames() const { return frames_; }

    // The keys held in the given frame (1 is the first); nothing past the end.
    // Frames asked for in order cost no search.
    MoveInput keysAt(std::int64_t frame);

  private:
    struct Stretch {
        std::int64_t lastFrame; // the stretch covers the frames up to this one
        MoveInput keys;
    };
    std::vector<Stretch> stretches_;
    std::int64_t frames_ = 0;
    std::size_t cursor_ = 0;
};
