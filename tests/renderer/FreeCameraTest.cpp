#include "EyeChecks.h"
#include "RendererFixture.h"

#include "renderer/camera/FreeCamera.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelFile.h"

#include <cmath>
#include <vector>

namespace {

constexpr float frameSeconds = 1.0f / 60.0f;
constexpr std::int32_t builtInSectors = 2;

MoveInput forward() {
    MoveInput input;
    input.forward = true;
    return input;
}

// A level made in the test: rooms given as loops of plan points, each wall a
// portal into the named sector or solid (-1).
struct TestRoom {
    std::vector<Vec3> corners;
    std::vector<std::int32_t> neighbours;
    float floor;
    float ceiling;
};

class TestLevel {
  public:
    explicit TestLevel(const std::vector<TestRoom>& rooms) {
        walls_.resize(rooms.size());
        for (std::size_t s = 0; s < rooms.size(); ++s) {
            const TestRoom& room = rooms[s];
            for (std::size_t i = 0; i < room.corners.size(); ++i) {
                walls_[s].push_back(Wall{room.corners[i],
                                         room.corners[(i + 1) % room.corners.size()],
                                         room.neighbours[i]});
            }
            sectors_.push_back(Sector{static_cast<std::int32_t>(walls_[s].size()), walls_[s].data(),
                                      room.floor, room.ceiling, 0, 0, 0});
        }
    }
    const Sector* sectors() const { return sectors_.data(); }
    std::int32_t count() const { return static_cast<std::int32_t>(sectors_.size()); }

  private:
    std::vector<std::vector<Wall>> walls_;
    std::vector<Sector> sectors_;
};

// Walks with the input for the given seconds at 60 steps a second, checking after
// every step that the eye is still somewhere it may be.
FreeCamera walkFor(FreeCamera camera, const MoveInput& input, float seconds, const Sector* level,
                   std::int32_t sectorCount) {
    const int steps = static_cast<int>(std::lround(seconds * 60.0f));
    for (int i = 0; i < steps; ++i) {
        camera = stepFreeCamera(camera, input, frameSeconds, level);
        const std::string why =
            eyeOutsideLevel(camera.x, camera.y, camera.z, camera.sector, level, sectorCount);
        if (!why.empty()) {
            ADD_FAILURE() << "step " << i << " at (" << camera.x << ", " << camera.y
                          << "): " << why;
            break;
        }
    }
    return camera;
}

FreeCamera facing(float x, float y, float angle, std::int32_t sector, const Sector* level) {
    return cameraFromView(x, y, std::cos(angle), std::sin(angle), sector, level);
}

} // namespace

// The built-in level: a 20 x 10 box (sector 0) with the triangle room of sector 1
// inside it.
using FreeCameraTest = RendererFixture;

TEST_F(FreeCameraTest, KeysMoveAndTurnTheWayTheViewShows) {
    const FreeCamera start = facing(-4.0f, 0.0f, 0.0f, 0, sectors);
    EXPECT_EQ(start.sector, 0);
    EXPECT_EQ(start.z, sectors[0].floorHeight + eyeAboveFloor);

    const FreeCamera ahead = walkFor(start, forward(), 0.5f, sectors, builtInSectors);
    EXPECT_NEAR(ahead.x, -2.0f, 1e-4f);
    EXPECT_EQ(ahead.y, 0.0f);

    MoveInput backAndRight;
    backAndRight.back = true;
    backAndRight.strafeRight = true;
    // Right of a view along +x is -y; walking and strafing at once is no faster.
    const FreeCamera diagonal = walkFor(start, backAndRight, 0.5f, sectors, builtInSectors);
    EXPECT_NEAR(diagonal.x, -4.0f - std::sqrt(2.0f), 1e-4f);
    EXPECT_NEAR(diagonal.y, -std::sqrt(2.0f), 1e-4f);

    MoveInput left;
    left.turnLeft = true;
    EXPECT_NEAR(walkFor(start, left, 0.5f, sectors, builtInSectors).angle, turnSpeed * 0.5f, 1e-4f);
    // 480 degrees to the left come back round into (-pi, pi] as 120 degrees, and as
    // many to the right as -120 degrees.
    EXPECT_NEAR(walkFor(start, left, 4.0f, sectors, builtInSectors).angle, 2.0943952f, 1e-3f);
    MoveInput right;
    right.turnRight = true;
    EXPECT_NEAR(walkFor(start, right, 4.0f, sectors, builtInSectors).angle, -2.0943952f, 1e-3f);

    MoveInput mouse;
    mouse.mouseTurn = -0.25f;
    EXPECT_NEAR(stepFreeCamera(start, mouse, frameSeconds, sectors).angle, -0.25f, 1e-6f);
}

TEST_F(FreeCameraTest, SpeedFollowsTheClockAndAStallIsCapped) {
    const FreeCamera start = facing(-8.0f, -2.0f, 0.0f, 0, sectors);
    FreeCamera slow = start;
    FreeCamera fast = start;
    for (int i = 0; i < 30; ++i) {
        slow = stepFreeCamera(slow, forward(), 1.0f / 30.0f, sectors);
    }
    for (int i = 0; i < 144; ++i) {
        fast = stepFreeCamera(fast, forward(), 1.0f / 144.0f, sectors);
    }
    EXPECT_NEAR(slow.x, start.x + walkSpeed, 1e-3f);
    EXPECT_NEAR(fast.x, start.x + walkSpeed, 1e-3f);

    // A five-second stall moves the eye one capped step; a clock that went
    // backwards or is not a number does not move it.
    EXPECT_NEAR(stepFreeCamera(start, forward(), 5.0f, sectors).x,
                start.x + walkSpeed * longestStep, 1e-5f);
    EXPECT_EQ(stepFreeCamera(start, forward(), -1.0f, sectors).x, start.x);
    EXPECT_EQ(stepFreeCamera(start, forward(), std::nanf(""), sectors).x, start.x);
}

TEST_F(FreeCameraTest, AWallMetHeadOnStopsTheEyeAtTheClearance) {
    // Ten seconds against the left wall (x = -10).
    const FreeCamera end = walkFor(facing(0.0f, 0.0f, 3.14159265f, 0, sectors), forward(), 10.0f,
                                   sectors, builtInSectors);
    EXPECT_NEAR(end.x, -10.0f + wallClearance, 1e-3f);
    EXPECT_NEAR(end.y, 0.0f, 1e-4f);
    EXPECT_EQ(end.sector, 0);
}

TEST_F(FreeCameraTest, StallsAgainstAWallDoNotCarryTheEyeThrough) {
    // Each stall moves the eye a capped 0.4, more than the clearance: from right at
    // the wall that would end behind it if the move were taken in one piece.
    FreeCamera camera = walkFor(facing(-8.0f, 1.0f, 3.14159265f, 0, sectors), forward(), 1.0f,
                                sectors, builtInSectors);
    for (float angle : {3.14159265f, 2.8f, -2.8f}) {
        camera.angle = angle;
        const float startY = camera.y;
        for (int i = 0; i < 10; ++i) {
            camera = stepFreeCamera(camera, forward(), 1.0f, sectors);
            ASSERT_EQ(eyeOutsideLevel(camera.x, camera.y, camera.z, camera.sector, sectors, 2), "")
                << "angle " << angle << " stall " << i;
        }
        // At an angle the eye still slides along the wall, 0.4 x sin 0.34 a stall.
        EXPECT_NEAR(std::fabs(camera.y - startY), angle == 3.14159265f ? 0.0f : 1.34f, 0.02f)
            << angle;
    }
}

TEST_F(FreeCameraTest, AnEyeOnAPortalsLineStaysInFrontOfIt) {
    // x = 2 is the line of the triangle's left portal; the traversal must see it
    // from an eye put on it or a rounding error behind it, from either side.
    for (std::int32_t sector : {0, 1}) {
        for (float x : {2.0f, 1.999999f, 2.000001f}) {
            const FreeCamera put = facing(x, 0.5f, 0.0f, sector, sectors);
            EXPECT_EQ(eyeOutsideLevel(put.x, put.y, put.z, put.sector, sectors, 2), "")
                << sector << " " << x;
        }
    }
    for (float angle : {0.0f, 3.14159265f}) {
        const float startX = angle == 0.0f ? 1.6f : 2.4f;
        const std::int32_t startSector = angle == 0.0f ? 0 : 1;
        FreeCamera camera = facing(startX, 0.0f, angle, startSector, sectors);
        camera = stepFreeCamera(camera, forward(), longestStep, sectors); // 0.4 onto the line
        EXPECT_EQ(eyeOutsideLevel(camera.x, camera.y, camera.z, camera.sector, sectors, 2), "")
            << "from " << startX << " at " << camera.x;
    }
}

TEST_F(FreeCameraTest, WalksThroughTheTrianglesCornersLandInTheRightRoom) {
    // Aimed exactly at each corner of the triangle, where two portals meet, from
    // all round it.
    const float corners[3][2] = {{8.0f, 0.0f}, {2.0f, 4.0f}, {2.0f, -4.0f}};
    for (const auto& corner : corners) {
        for (int i = 0; i < 24; ++i) {
            const float around = static_cast<float>(i) * 0.2617994f;
            const float x = corner[0] + 1.7f * std::cos(around);
            const float y = corner[1] + 0.6f * std::sin(around);
            const std::int32_t sector = sectorHolding(x, y, sectors, 2);
            if (sector < 0 || !eyeOutsideLevel(x, y, eyeAboveFloor, sector, sectors, 2).empty()) {
                continue;
            }
            const float heading = std::atan2(corner[1] - y, corner[0] - x);
            walkFor(facing(x, y, heading, sector, sectors), forward(), 1.0f, sectors,
                    builtInSectors);
        }
    }
}

TEST_F(FreeCameraTest, AWallMetAtAGrazingAngleIsSlidAlong) {
    // Heading 3 degrees towards the top wall (y = 5): the eye meets it and slides on.
    const FreeCamera start = facing(-9.0f, 4.0f, 0.05f, 0, sectors);
    const FreeCamera end = walkFor(start, forward(), 4.0f, sectors, builtInSectors);
    EXPECT_NEAR(end.y, 5.0f - wallClearance, 1e-3f);
    EXPECT_GT(end.x, start.x + 15.0f);
}

TEST_F(FreeCameraTest, ACornerOfTheBoxHoldsTheEye) {
    // Heading into the bottom-left corner, then rubbing along both of its walls.
    const float angle = std::atan2(-5.0f, -10.0f);
    FreeCamera end =
        walkFor(facing(0.0f, 0.0f, angle, 0, sectors), forward(), 10.0f, sectors, builtInSectors);
    EXPECT_NEAR(end.x, -10.0f + wallClearance, 1e-3f);
    EXPECT_NEAR(end.y, -5.0f + wallClearance, 1e-3f);
    MoveInput rub = forward();
    rub.turnLeft = true;
    end = walkFor(end, rub, 10.0f, sectors, builtInSectors);
}

TEST_F(FreeCameraTest, PortalsArePassedAndTheSectorFollowsTheEye) {
    // Along y = 0 the eye enters the triangle through its left wall and leaves it
    // through the corner (8, 0) shared by two of its portals.
    FreeCamera camera = facing(-1.0f, 0.0f, 0.0f, 0, sectors);
    std::vector<std::int32_t> visited = {camera.sector};
    for (int i = 0; i < 240; ++i) {
        sectors[1].floorHeight = 0.5f + 0.5f * std::sin(0.1f * static_cast<float>(i));
        sectors[1].ceilingHeight = sectors[1].floorHeight + 2.5f;
        camera = stepFreeCamera(camera, forward(), frameSeconds, sectors);
        ASSERT_EQ(eyeOutsideLevel(camera.x, camera.y, camera.z, camera.sector, sectors, 2), "")
            << "step " << i << " x " << camera.x;
        // The eye rides the floor of the room it is in, moving floor included.
        EXPECT_EQ(camera.z, sectors[camera.sector].floorHeight + eyeAboveFloor);
        if (camera.sector != visited.back()) {
            visited.push_back(camera.sector);
        }
    }
    EXPECT_EQ(visited, (std::vector<std::int32_t>{0, 1, 0}));
    EXPECT_NEAR(camera.x, 10.0f - wallClearance, 1e-3f);
}

TEST_F(FreeCameraTest, EveryWayThroughTheTriangleKeepsTheEyeInTheLevel) {
    // Sixty headings from around the triangle, each walked for three seconds
    // while turning a little: across portals, through their end points, into the
    // box's walls and corners.
    for (int i = 0; i < 60; ++i) {
        const float heading = static_cast<float>(i) * 0.10471976f;
        const float x = 4.5f - 5.2f * std::cos(heading);
        const float y = -4.6f * std::sin(heading);
        const FreeCamera start = facing(x, y, heading, sectorHolding(x, y, sectors, 2), sectors);
        MoveInput input = forward();
        input.turnRight = (i % 3) == 0;
        input.strafeLeft = (i % 5) == 0;
        walkFor(start, input, 3.0f, sectors, builtInSectors);
    }
}

TEST(FreeCameraLevelTest, AnAcuteCornerDoesNotLetTheEyeThrough) {
    // A sliver of a room: its left corner is about 11 degrees wide.
    const TestLevel level({{{{0, 0, 0}, {10, 1, 0}, {10, 2, 0}}, {-1, -1, -1}, 0.0f, 3.0f}});
    FreeCamera camera = cameraFromView(9.0f, 1.0f, -1.0f, 0.0f, 0, level.sectors());
    ASSERT_EQ(eyeOutsideLevel(camera.x, camera.y, camera.z, 0, level.sectors(), 1), "");
    camera = walkFor(camera, forward(), 10.0f, level.sectors(), level.count());
    EXPECT_GT(camera.x, 1.0f); // the sliver narrows below twice the clearance long before 0
    MoveInput wiggle = forward();
    wiggle.strafeLeft = true;
    walkFor(camera, wiggle, 5.0f, level.sectors(), level.count());
}

TEST(FreeCameraLevelTest, WhereAPortalMeetsSolidWallsTheEyeStaysIn) {
    // Two square rooms side by side; the portal between them ends on the solid
    // outer walls. Aimed at those end points, and along the portal's line itself.
    const TestLevel level({
        {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {-1, 1, -1, -1}, 0.0f, 3.0f},
        {{{4, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4, 4, 0}}, {-1, -1, -1, 0}, 1.0f, 2.0f},
    });
    const struct {
        float x, y, angle;
    } walks[] = {{2, 2, -0.785398f}, {2, 2, 0.785398f},  {6, 2, -2.356194f},
                 {6, 2, 2.356194f},  {4, 2, -1.570796f}, {4, 2, 1.5707964f}};
    for (const auto& walk : walks) {
        const std::int32_t sector = walk.x < 4.0f ? 0 : 1;
        FreeCamera camera = cameraFromView(walk.x, walk.y, std::cos(walk.angle),
                                           std::sin(walk.angle), sector, level.sectors());
        camera = walkFor(camera, forward(), 10.0f, level.sectors(), level.count());
        EXPECT_NEAR(std::fabs(camera.y - 2.0f), 2.0f - wallClearance, 1e-3f);
    }
}

TEST(FreeCameraLevelTest, TheEyeStaysStrictlyInsideALowRoom) {
    // The second room is lower than the eye height: an eye put in it goes to its
    // middle, and an eye walking up to it from the first room stays out.
    const TestLevel level({
        {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {-1, 1, -1, -1}, 0.0f, 3.0f},
        {{{4, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4, 4, 0}}, {-1, -1, -1, 0}, 0.5f, 1.5f},
    });
    const FreeCamera inside = cameraFromView(6.0f, 2.0f, 1.0f, 0.0f, 1, level.sectors());
    EXPECT_EQ(inside.sector, 1);
    EXPECT_EQ(inside.z, 1.0f);
    FreeCamera camera = cameraFromView(2.0f, 2.0f, 1.0f, 0.0f, 0, level.sectors());
    EXPECT_EQ(camera.z, eyeAboveFloor);
    camera = walkFor(camera, forward(), 1.5f, level.sectors(), level.count());
    EXPECT_EQ(camera.sector, 0);
    EXPECT_EQ(camera.z, eyeAboveFloor);
}

TEST(FreeCameraLevelTest, TheEyeStandsAtItsHeightOnlyWhereItsHeadroomFitsAbove) {
    const struct {
        float floor, ceiling, eye;
    } cases[] = {
        {0.0f, 1.6f, 0.8f},    // room for the eye, not for its headroom: the middle
        {0.0f, 1.75f, 0.875f}, // the headroom exactly: still the middle
        {0.5f, 2.3f, 2.0f},    // 1.8 high: the eye's own height over the floor
    };
    for (const auto& c : cases) {
        const Sector room{0, nullptr, c.floor, c.ceiling, 0, 0, 0};
        EXPECT_EQ(eyeHeightIn(room), c.eye) << c.floor << " to " << c.ceiling;
    }
}

TEST(FreeCameraLevelTest, APortalIsPassedOnlyWhereTheEyeFitsAndTheStepIsLowEnough) {
    // Two square rooms joined by a portal at x = 4: walk across from the first,
    // then back from wherever the eye got to.
    const struct {
        float ceiling0, floor1, ceiling1;
        bool enters, returns;
    } cases[] = {
        {3.0f, 0.0f, 1.6f, false, true},  // 1.6 high: the eye fits, its headroom does not
        {3.0f, 0.0f, 1.74f, false, true}, // still short of 1.75
        {3.0f, 0.0f, 1.8f, true, true},   // room for the eye and its headroom
        {3.0f, 0.6f, 3.0f, true, true},   // the highest step up
        {3.0f, 0.65f, 3.0f, false, true}, // a step too high
        {3.0f, -2.0f, 2.5f, true, false}, // any step down, but not back up
        {2.2f, 0.5f, 4.0f, false, true},  // both rooms tall, the opening between 0.5 and 2.2 not
        {3.0f, -1.0f, 1.0f, false, true}, // a low lintel over a step down
    };
    for (const auto& c : cases) {
        const TestLevel level({
            {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {-1, 1, -1, -1}, 0.0f, c.ceiling0},
            {{{4, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4, 4, 0}}, {-1, -1, -1, 0}, c.floor1, c.ceiling1},
        });
        const std::string label = std::to_string(c.ceiling0) + " " + std::to_string(c.floor1) +
                                  " " + std::to_string(c.ceiling1);
        FreeCamera camera = cameraFromView(2.0f, 2.0f, 1.0f, 0.0f, 0, level.sectors());
        camera = walkFor(camera, forward(), 1.5f, level.sectors(), level.count());
        EXPECT_EQ(camera.sector, c.enters ? 1 : 0) << label;
        if (!c.enters) {
            // Stopped short of the portal as short of a wall.
            EXPECT_NEAR(camera.x, 4.0f - wallClearance, 1e-3f) << label;
            continue;
        }
        camera.angle = 3.14159265f;
        camera = walkFor(camera, forward(), 1.5f, level.sectors(), level.count());
        EXPECT_EQ(camera.sector, c.returns ? 0 : 1) << label;
        EXPECT_EQ(camera.z, level.sectors()[camera.sector].floorHeight + eyeAboveFloor) << label;
    }
}

TEST(FreeCameraLevelTest, TheLevelsBodySetsEyeHeadroomStepAndClearance) {
    // The game's body as a level file gives it (41, 56, 24 and 16 map units): two
    // rooms joined at x = 4, walked across from the first.
    LevelDescription file;
    std::string error;
    ASSERT_TRUE(parseLevelText(R"({"duskhall-level": 1, "textures": {"t": "wall1.png"},
      "vertices": [[0, 0], [4, 0], [0, 4]],
      "sectors": [{"outline": [0, 1, 2], "floor": 0, "ceiling": 3,
                   "wall-texture": "t", "floor-texture": "t", "ceiling-texture": "t"}],
      "start": {"x": 1, "y": 1, "angle": 0},
      "body": {"eye": 1.28125, "height": 1.75, "step": 0.75, "radius": 0.5}})",
                               "body.json", file, error))
        << error;
    const WalkerBody game = file.body;
    const WalkerBody tall = {2.5f, 3.0f, 0.6f, 0.25f};
    const struct {
        const char* label;
        WalkerBody body;
        float floor1, ceiling1;
        bool enters;
    } cases[] = {
        {"default, step 0.7", {}, 0.7f, 3.0f, false}, {"game, step 0.7", game, 0.7f, 3.0f, true},
        {"game, step 0.8", game, 0.8f, 3.0f, false},  {"default, 1.8 high", {}, 0.0f, 1.8f, true},
        {"tall, 1.8 high", tall, 0.0f, 1.8f, false},  {"tall, 3.1 high", tall, 0.0f, 3.1f, true},
    };
    for (const auto& c : cases) {
        const TestLevel level({
            {{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}}, {-1, 1, -1, -1}, 0.0f, 4.0f},
            {{{4, 0, 0}, {8, 0, 0}, {8, 4, 0}, {4, 4, 0}}, {-1, -1, -1, 0}, c.floor1, c.ceiling1},
        });
        FreeCamera camera = cameraFromView(2.0f, 2.0f, 1.0f, 0.0f, 0, level.sectors(), {}, c.body);
        EXPECT_EQ(camera.z, c.body.eye) << c.label;
        for (int step = 0; step < 240; ++step) {
            camera = stepFreeCamera(camera, forward(), frameSeconds, level.sectors(), {}, c.body);
        }
        EXPECT_EQ(camera.sector, c.enters ? 1 : 0) << c.label;
        // Through to the far wall or stopped at the portal, one radius short.
        EXPECT_NEAR(camera.x, (c.enters ? 8.0f : 4.0f) - c.body.radius, 1e-3f) << c.label;
        EXPECT_EQ(camera.z, level.sectors()[camera.sector].floorHeight + c.body.eye) << c.label;
    }
}
