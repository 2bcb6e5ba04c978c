#include <duskhall/WarningBox.h>

#include <emscripten.h>

namespace duskhall {

// clang-format off
EM_JS(void, duskhallPageWarning, (const char* text, const char* caption), {
    const show = Module['showWarning'];
    if (show) {
        show(UTF8ToString(caption), UTF8ToString(text));
    } else {
        alert(UTF8ToString(caption) + ': ' + UTF8ToString(text));
    }
});
// clang-format on

// The page shows the message in place of the picture; a modal alert would stop
// the page's own checks as well as the user.
void showWarningBox(const char* text, const char* caption) {
    duskhallPageWarning(text, caption);
}

} // namespace duskhall
