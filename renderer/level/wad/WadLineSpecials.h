#pragma once

#include <cstdint>

// The Doom-format line specials that open doors and lower lifts, as the level
// description's doors, lifts and triggers. Locked doors open without keys.

// One line as the importer has it.
struct WadLineRecord {
    std::int32_t special;
    std::int32_t tag;
    std::int32_t line;  // its index in LINEDEFS
    std::int32_t front; // WAD sector on the front side, -1 for none
    std::int32_t back;  // WAD sector on the back side, -1 for none
};

// What such a line does: a trigger (used, or walked over), acting on the sector
// behind it (manual doors) or on the sectors with the line's tag, each of which
// becomes a door or a lift of this kind.
struct WadLineAction {
    bool walk = false;
    bool once = false;
    bool behind = false; // the back sector; otherwise the sectors tagged `tag`
    std::int32_t tag = 0;
    bool lift = false;
    bool stays = false; // a door that stays open
    float speed = 0.0f; // level units a second
    float wait = 0.0f;  // seconds
};

// False for a special that opens no door and lowers no lift (it is then left
// out: the importer reports it once), or a manual door without a back sector.
bool wadLineAction(const WadLineRecord& line, WadLineAction& action);

// Whether the special is a door that asks for a key; it opens without one here.
bool wadLockedDoor(std::int32_t special);
