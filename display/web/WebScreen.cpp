#include "display/web/WebScreen.h"

#include "display/DisplayError.h"

#include <emscripten.h>

namespace duskhall {

// clang-format off
EM_JS(int, duskhallLargestTextureSide, (), {
    const gl = document.createElement('canvas').getContext('webgl');
    return gl ? gl.getParameter(gl.MAX_TEXTURE_SIZE) : 0;
});
// clang-format on

} // namespace duskhall

namespace duskhall {

WebScreen::WebScreen(const char* canvas)
    : ScreenCore(static_cast<ScreenPlatform&>(*this)), canvas_(canvas) {}

// The page's title stays the page's: the canvas has none of its own.
std::unique_ptr<WindowCore> WebScreen::createWindow(ScreenCore& screen, const char*,
                                                    std::int32_t width, std::int32_t height) {
    if (WebWindow::anyListening()) {
        setDisplayError("the page shows one screen at a time: close the open one first");
        return nullptr;
    }
    auto window = std::make_unique<WebWindow>(&screen, canvas_, width, height);
    if (!window->valid()) {
        setDisplayError("the page has no canvas");
        return nullptr;
    }
    return window;
}

std::int32_t WebScreen::largestFrameSide() {
    // Asked once: each question makes a WebGL context, and browsers keep few.
    static const int side = duskhallLargestTextureSide();
    return side > 0 ? side : 4096; // what every WebGL the page could use offers
}

// The browser answers a fullscreen request later; a refusal comes back through
// the event queue as a switch to the windowed style.
std::unique_ptr<ScreenOutput> WebScreen::createOutput(WindowCore&, ScreenMode) {
    auto output = WebOutput::create(canvas_, width(), height());
    if (output == nullptr) {
        setDisplayError("the browser gives the canvas no WebGL");
    }
    return output;
}

} // namespace duskhall
