#pragma once

#include <cstdint>

// The game's things by their editor numbers (the DoomEd numbers of the THINGS
// lump), as the published thing list gives them: the sprite each wears, the frames
// it cycles through, its radius in map units, and whether it blocks the walker,
// hangs from its sector's ceiling or is drawn at full brightness. Creatures are
// given their first frame only: without the game's logic they stand still.
struct WadThingType {
    std::int32_t type;
    const char* sprite;    // four letters; null for a mark that is never drawn
    const char* frames;    // the frame letters in the order shown, e.g. "ABCDCB"
    float framesPerSecond; // 0 for a single frame
    std::int32_t radius;   // map units
    bool solid;
    bool hanging;
    bool bright;
};

// The type of that number, or null when the list has none.
const WadThingType* findWadThingType(std::int32_t type);

// Thing flags: which skills a thing appears in, and multiplayer only.
constexpr std::int16_t wadThingEasy = 0x0001;
constexpr std::int16_t wadThingMedium = 0x0002;
constexpr std::int16_t wadThingHard = 0x0004;
constexpr std::int16_t wadThingMultiplayer = 0x0010;
