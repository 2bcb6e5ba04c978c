#pragma once

#include "renderer/level/Vec3.h"

// One column's horizontal ray. The direction is not normalised: its component along
// the view direction is 1, so the distance parameter along it is the view depth.
struct Ray {
    Vec3 origin;
    Vec3 direction;
};
