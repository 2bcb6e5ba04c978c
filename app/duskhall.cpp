#include <duskhall/WarningBox.h>

#include "app/InstalledTextures.h"
#include "app/RunDemo.h"
#include "renderer/Housekeeping.h"

int main() {
    // The one fatal message (a missing texture) is shown in a box on top of the window.
    setFatalMessagePresenter(duskhall::showWarningBox);
    useInstalledTextures();
    return runDemo();
}
