#include "EyeChecks.h"
#include "renderer/camera/ExploreSession.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelMovers.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

namespace {

constexpr float frameSeconds = 1.0f / 60.0f; // a walk's clock
// How far in front of the line the walker stands: 32 or 48 map units, in reach.
constexpr float standOffs[] = {1.0f, 1.5f};

struct Stretch {
    int frames;
    MoveInput keys;
};

MoveInput keys(bool forward, bool use = false, float turn = 0.0f) {
    MoveInput input;
    input.forward = forward;
    input.use = use;
    input.turnLeft = turn > 0.0f;
    input.turnRight = turn < 0.0f;
    return input;
}

double orientation(double ax, double ay, double bx, double by, double x, double y) {
    return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
}

// The step from (x0, y0) to (x1, y1) passes from one side of the wall to the other.
bool crosses(float x0, float y0, float x1, float y1, const Wall& wall) {
    const double before = orientation(wall.a.x, wall.a.y, wall.b.x, wall.b.y, x0, y0);
    const double after = orientation(wall.a.x, wall.a.y, wall.b.x, wall.b.y, x1, y1);
    const double atA = orientation(x0, y0, x1, y1, wall.a.x, wall.a.y);
    const double atB = orientation(x0, y0, x1, y1, wall.b.x, wall.b.y);
    return before * after < 0.0 && atA * atB < 0.0;
}

// Why the step from before to now is not one the walker may take, or empty: the
// eye must be inside its sector, between floor and ceiling, clear of solid walls,
// and must not have passed a solid wall or a blocking line of the rooms it left
// or entered.
std::string wrongStep(const FreeCamera* before, const FreeCamera& now) {
    std::string why = eyeOutsideLevel(now.x, now.y, now.z, now.sector, sectors, sectorCount);
    for (int k = 0; before != nullptr && why.empty() && k < 2; ++k) {
        const std::int32_t s = k == 0 ? before->sector : now.sector;
        for (std::int32_t w = 0; w < sectors[s].wallCount && why.empty(); ++w) {
            const Wall& wall = sectors[s].walls[w];
            if ((wall.neighbour < 0 || wall.blocking) &&
                crosses(before->x, before->y, now.x, now.y, wall)) {
                why = "crossed the " + std::string(wall.blocking ? "blocking" : "solid") +
                      " wall " + std::to_string(w) + " of sector " + std::to_string(s);
            }
        }
    }
    return why;
}

struct DoorPlace {
    LevelStart stand; // in front of the line, facing it
    std::int32_t mover = -1;
    float distance = std::numeric_limits<float>::infinity(); // from the map's start
};

// A door closed to the walker that opens wide enough for it.
bool worthOpening(const Mover& mover) {
    const Sector& sector = sectors[mover.sector];
    return mover.ceiling && !(mover.rest - sector.floorHeight > levelBody.height) &&
           mover.target - sector.floorHeight > levelBody.height;
}

// Whether the edge a -> b of the room is a portal into the sector.
bool opensInto(const Sector& room, const TriggerLine& line, std::int32_t sector) {
    for (std::int32_t w = 0; w < room.wallCount; ++w) {
        const Wall& wall = room.walls[w];
        if (wall.a.x == line.ax && wall.a.y == line.ay && wall.b.x == line.bx &&
            wall.b.y == line.by && wall.neighbour == sector) {
            return true;
        }
    }
    return false;
}

// Of the used lines with a door worth opening right behind them (manual doors),
// the one nearest the start that the walker can stand in front of: a point
// straight out from the line's middle, within reach, where the body fits.
DoorPlace nearestDoor() {
    DoorPlace best;
    for (const TriggerLine& line : levelMovers.lines) {
        for (std::int32_t k = 0; k < line.targetCount && !line.walk; ++k) {
            const std::int32_t m =
                levelMovers.targets[static_cast<std::size_t>(line.firstTarget + k)];
            if (m < 0 || !worthOpening(levelMovers.movers[static_cast<std::size_t>(m)])) {
                continue;
            }
            const Mover& mover = levelMovers.movers[static_cast<std::size_t>(m)];
            const float dx = line.bx - line.ax;
            const float dy = line.by - line.ay;
            const float length = std::sqrt(dx * dx + dy * dy);
            const float midX = (line.ax + line.bx) / 2.0f;
            const float midY = (line.ay + line.by) / 2.0f;
            const float distance = std::hypot(midX - levelStart.x, midY - levelStart.y);
            if (!(distance < best.distance) || length < 2.0f * levelBody.radius ||
                !opensInto(sectors[line.sector], line, mover.sector)) {
                continue;
            }
            // Inside the line's room, or beyond a recess in front of it.
            std::int32_t sector = -1;
            float x = 0.0f;
            float y = 0.0f;
            for (const float away : standOffs) {
                x = midX - dy / length * away;
                y = midY + dx / length * away;
                sector = sectorHolding(x, y, sectors, sectorCount);
                if (sector >= 0 &&
                    sectors[sector].ceilingHeight - sectors[sector].floorHeight >
                        levelBody.height &&
                    eyeOutsideLevel(x, y, eyeHeightIn(sectors[sector], levelBody), sector, sectors,
                                    sectorCount)
                        .empty()) {
                    break;
                }
                sector = -1;
            }
            if (sector < 0) {
                continue;
            }
            best = {{x, y, std::atan2(-dx, dy), sector, false}, m, distance};
        }
    }
    return best;
}

// Walks the stretches from the level's start, checking every frame; false (with
// why) at the first wrong step. seen is called with the camera of every frame.
template <typename Seen>
bool walk(const std::vector<Stretch>& stretches, std::string& why, Seen seen) {
    ExploreSession session;
    session.toggle();
    FreeCamera before = {};
    int frame = 0;
    for (const Stretch& stretch : stretches) {
        for (int f = 0; f < stretch.frames; ++f, ++frame) {
            session.step(stretch.keys, frameSeconds);
            why = wrongStep(frame == 0 ? nullptr : &before, session.camera());
            if (!why.empty()) {
                why = "frame " + std::to_string(frame + 1) + ": " + why;
                return false;
            }
            before = session.camera();
            seen(before);
        }
    }
    return true;
}

// Every map of Debian's freedoom WADs is walked twice: from in front of its closed
// door nearest the start (a used line with the door right behind it, found among
// the imported level's own triggers), pressing use and walking through; and from
// its start, forward and turning, sliding along what stops it. Every frame's eye
// stays inside its sector, between floor and ceiling, and passes no solid or
// blocking line; the door opens wide enough for the body and the walker gets into
// it. Only a map without any door or lift (MAP07) has none to open.
TEST(FreedoomWalks, EveryMapWalksFromItsStartAndThroughItsNearestDoor) {
    const std::vector<std::string> wads = {"/usr/share/games/doom/freedoom1.wad",
                                           "/usr/share/games/doom/freedoom2.wad"};
    const std::vector<Stretch> fromStart = {{60, keys(true)},
                                            {30, keys(false, false, 1)},
                                            {60, keys(true)},
                                            {60, keys(false, false, -1)},
                                            {60, keys(true)}};
    const std::vector<Stretch> throughDoor = {
        {10, keys(false)}, {1, keys(false, true)}, {60, keys(false)}, {90, keys(true)}};
    std::size_t maps = 0;
    std::string doors;
    for (const std::string& path : wads) {
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << path << " is not installed (Debian package freedoom): maps not walked";
        }
        WadFile wad;
        std::string error;
        ASSERT_TRUE(wad.open(path, error)) << error;
        for (const std::string& name : wadMapNames(wad)) {
            SCOPED_TRACE(name);
            ASSERT_TRUE(loadLevel(path + ":" + name, error)) << error;
            ++maps;
            prepareFrames(nullptr);
            const LevelStart start = levelStart;
            const DoorPlace place = nearestDoor();
            std::string why;
            if (place.mover < 0) {
                // A map whose specials move only floors of other kinds (MAP07).
                EXPECT_TRUE(levelMovers.movers.empty()) << "no door to open";
                doors += " " + name + ":none";
            } else {
                levelStart = place.stand;
                const Mover& mover = levelMovers.movers[static_cast<std::size_t>(place.mover)];
                const Sector& door = sectors[mover.sector];
                float highest = door.ceilingHeight;
                bool entered = false;
                EXPECT_TRUE(walk(throughDoor, why,
                                 [&](const FreeCamera& camera) {
                                     highest = std::fmax(highest, door.ceilingHeight);
                                     entered = entered || camera.sector == mover.sector;
                                 }))
                    << "through the door: " << why;
                EXPECT_GT(highest - door.floorHeight, levelBody.height) << "the door opened";
                EXPECT_TRUE(entered) << "the walker got into the door";
                char line[96];
                std::snprintf(line, sizeof line, " %s:%.3f,%.3f,%.4f", name.c_str(),
                              static_cast<double>(place.stand.x),
                              static_cast<double>(place.stand.y),
                              static_cast<double>(place.stand.angle));
                doors += line;
            }
            levelStart = start;
            EXPECT_TRUE(walk(fromStart, why, [](const FreeCamera&) {}))
                << "from the start: " << why;
            freeLevel();
            HKFreeAll();
        }
    }
    EXPECT_EQ(maps, 68u);
    std::printf("doors opened, standing at (--start X,Y,ANGLE):%s\n", doors.c_str());
}

} // namespace
