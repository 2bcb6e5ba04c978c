#include "renderer/level/wad/WadLineSpecials.h"

#include "renderer/level/MoverDescription.h"

namespace {

enum class How : std::uint8_t { manual, switched, walked };

struct Special {
    std::int32_t number;
    How how;
    bool once;
    bool lift;
    bool stays;
    bool fast; // doors and lifts four times and twice as fast
};

// Manual doors (1, 26-28 and 117 close again; 31-34 and 118 stay open; 26-28 and
// 32-34 are the locked ones), switched and walked-over doors, and lifts.
constexpr Special specials[] = {
    {1, How::manual, false, false, false, false},   {26, How::manual, false, false, false, false},
    {27, How::manual, false, false, false, false},  {28, How::manual, false, false, false, false},
    {31, How::manual, false, false, true, false},   {32, How::manual, false, false, true, false},
    {33, How::manual, false, false, true, false},   {34, How::manual, false, false, true, false},
    {117, How::manual, false, false, false, true},  {118, How::manual, false, false, true, true},
    {29, How::switched, true, false, false, false}, {63, How::switched, false, false, false, false},
    {103, How::switched, true, false, true, false}, {61, How::switched, false, false, true, false},
    {111, How::switched, true, false, false, true}, {114, How::switched, false, false, false, true},
    {112, How::switched, true, false, true, true},  {115, How::switched, false, false, true, true},
    {133, How::switched, true, false, true, true},  {135, How::switched, true, false, true, true},
    {137, How::switched, true, false, true, true},  {99, How::switched, false, false, true, true},
    {134, How::switched, false, false, true, true}, {136, How::switched, false, false, true, true},
    {2, How::walked, true, false, true, false},     {86, How::walked, false, false, true, false},
    {4, How::walked, true, false, false, false},    {90, How::walked, false, false, false, false},
    {108, How::walked, true, false, false, true},   {105, How::walked, false, false, false, true},
    {109, How::walked, true, false, true, true},    {106, How::walked, false, false, true, true},
    {10, How::walked, true, true, false, false},    {88, How::walked, false, true, false, false},
    {21, How::switched, true, true, false, false},  {62, How::switched, false, true, false, false},
    {121, How::walked, true, true, false, true},    {120, How::walked, false, true, false, true},
    {122, How::switched, true, true, false, true},  {123, How::switched, false, true, false, true},
};

} // namespace

bool wadLineAction(const WadLineRecord& line, WadLineAction& action) {
    for (const Special& special : specials) {
        if (special.number != line.special) {
            continue;
        }
        if (special.how == How::manual && line.back < 0) {
            return false;
        }
        action = {};
        action.walk = special.how == How::walked;
        action.once = special.once;
        action.behind = special.how == How::manual;
        action.tag = line.tag;
        action.lift = special.lift;
        action.stays = special.stays;
        action.speed = special.lift ? liftSpeed * (special.fast ? 2.0f : 1.0f)
                                    : doorSpeed * (special.fast ? 4.0f : 1.0f);
        action.wait = special.lift ? liftWait : doorWait;
        return true;
    }
    return false;
}

bool wadLockedDoor(std::int32_t special) {
    for (const std::int32_t locked : {26, 27, 28, 32, 33, 34, 99, 133, 134, 135, 136, 137}) {
        if (special == locked) {
            return true;
        }
    }
    return false;
}
