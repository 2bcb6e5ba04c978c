#pragma once

#include <cstdint>
#include <vector>

// Doors, lifts and the lines that set them going, as a level describes them.
// Heights in level units, speeds in units a second, waits in seconds.

// The game's pace: 2 map units a tic at 35 tics a second, 32 map units a level
// unit; lifts twice that, waiting 3 seconds; doors 150 tics.
constexpr float doorSpeed = 2.1875f;
constexpr float doorWait = 4.2857141f; // 150 / 35
constexpr float liftSpeed = 4.375f;
constexpr float liftWait = 3.0f;
constexpr float doorLip = 0.125f; // an open door stops this far below its lowest neighbour
constexpr float maxMoverWait = 3600.0f;

// A door raises its ceiling to the open height, waits and lowers it again (or
// stays open); a lift lowers its floor to the low height, waits and rises back.
struct MoverDescription {
    std::int32_t sector = 0;
    bool lift = false;
    bool stays = false; // a door that stays open
    float speed = doorSpeed;
    float wait = doorWait;
    // Where the surface goes; when not given: a door's lowest neighbouring ceiling
    // less doorLip, a lift's lowest floor of itself and its neighbours.
    bool heightGiven = false;
    float height = 0.0f;
};

// A line that sets movers going: used (faced within reach and the use key
// pressed) from the front of edge `edge` of sector `sector`, or crossed by the
// walker either way. targets are sectors, each a door's or a lift's; a used line
// without any acts on the sector behind it.
struct TriggerDescription {
    std::int32_t sector = 0;
    std::int32_t edge = 0;
    // A walk line may instead be drawn between two points (a line across a room):
    // then from and to are vertices, sector and edge unused.
    std::int32_t from = -1;
    std::int32_t to = -1;
    bool walk = false;
    bool once = false;
    std::vector<std::int32_t> targets;
};
