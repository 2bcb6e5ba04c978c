#include "TestPlatformScreen.h"

#include "display/PlatformScreen.h"

std::function<std::unique_ptr<ScreenCore>()> testScreenFactory;

std::unique_ptr<ScreenCore> createPlatformScreen() {
    return testScreenFactory ? testScreenFactory() : nullptr;
}
