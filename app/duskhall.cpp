#include "app/InstalledTextures.h"
#include "display/WarningBox.h"
#include "renderer/Housekeeping.h"
#include "app/RunDemo.h"

int main() {
    // The one fatal message (a missing texture) is shown in a box on top of the window.
    setFatalMessagePresenter(showWarningBox);
    useInstalledTextures();
    return runDemo();
}
