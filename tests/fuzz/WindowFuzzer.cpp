// libFuzzer target for the window logic and the screen lifecycle over a test
// platform. A broken invariant aborts with its description.

#include "display/PlatformScreen.h"
#include "tests/fuzz/WindowSession.h"

#include <cstdio>
#include <cstdlib>

using namespace duskhall;

// Every screen of this program is made directly; the handle's own factory is unused.
std::unique_ptr<ScreenCore> duskhall::createPlatformScreen() {
    return nullptr;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string failure = runWindowSession(data, size);
    if (!failure.empty()) {
        std::fprintf(stderr, "window session: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
