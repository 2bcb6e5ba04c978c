#include "TestPlatformScreen.h"

#include "display/PlatformScreen.h"

using namespace duskhall;

std::function<std::unique_ptr<ScreenCore>()> testScreenFactory;

std::unique_ptr<ScreenCore> duskhall::createPlatformScreen() {
    return testScreenFactory ? testScreenFactory() : nullptr;
}
