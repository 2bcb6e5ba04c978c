#pragma once

#include "display/ScreenCore.h"

#include <functional>
#include <memory>

using namespace duskhall;

// The test programs' stand-in for the platform screen: ScreenHandle asks this
// factory. Without one set, creation fails (null).
extern std::function<std::unique_ptr<ScreenCore>()> testScreenFactory;
