#include "app/RunDemo.h"
#include "display/WarningBox.h"
#include "renderer/Housekeeping.h"

int main() {
    // The one fatal message (a missing texture) is shown in a box on top of the window.
    setFatalMessagePresenter(showWarningBox);
    return runDemo();
}
