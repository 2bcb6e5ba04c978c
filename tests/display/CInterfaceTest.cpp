// The C interface over a platform of plain values: each callback reaches its own
// user pointer with the event's values, a refused close keeps the window, null
// handles are harmless and failures leave their reason in dh_error.
#include <duskhall/duskhall_c.h>

#include "DisplayFakes.h"
#include "TestPlatformScreen.h"
#include "display/DisplayError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

// One per callback: records "name value" as heard through its user pointer.
struct Listener {
    const char* name;
    Events* events;
    dh_screen* screenSeen = nullptr;
    int closeAnswer = 1;

    void hear(dh_screen* screen, const std::string& values) {
        screenSeen = screen;
        events->push_back(std::string(name) + values);
    }
};

Listener& listener(void* user) {
    return *static_cast<Listener*>(user);
}

void onKey(dh_screen* screen, int32_t key, void* user) {
    listener(user).hear(screen, " " + std::to_string(key));
}
void onMouse(dh_screen* screen, const dh_mouse* mouse, void* user) {
    listener(user).hear(screen, " " + std::to_string(mouse->left) + std::to_string(mouse->middle) +
                                    std::to_string(mouse->right) + " " +
                                    std::to_string(static_cast<int>(mouse->x)) + "," +
                                    std::to_string(static_cast<int>(mouse->y)));
}
void onFocus(dh_screen* screen, int active, void* user) {
    listener(user).hear(screen, " " + std::to_string(active));
}
void onOpened(dh_screen* screen, void* user) {
    listener(user).hear(screen, "");
}
int onClosing(dh_screen* screen, void* user) {
    listener(user).hear(screen, "");
    return listener(user).closeAnswer;
}

class CInterfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testScreenFactory = [this] {
            auto made = std::make_unique<FakePlatformScreen>();
            platform = made.get();
            return std::unique_ptr<ScreenCore>(std::move(made));
        };
        screen = dh_create();
        ASSERT_NE(screen, nullptr);
    }
    void TearDown() override {
        dh_close(screen);
        testScreenFactory = nullptr;
    }
    FakeWindow& window() {
        FakeWindow& fake = *platform->window();
        fake.clientOverridden = true;
        fake.client = WindowSize{320, 240}; // mouse positions in frame pixels as they are
        return fake;
    }

    FakePlatformScreen* platform = nullptr;
    dh_screen* screen = nullptr;
    Events events;
    const uint32_t pixel[1] = {0};
};

TEST_F(CInterfaceTest, EachCallbackReachesItsUserPointerWithTheEventsValues) {
    Listener keyDown{"keyDown", &events}, keyStroke{"keyStroke", &events}, keyUp{"keyUp", &events},
        buttonDown{"buttonDown", &events}, buttonUp{"buttonUp", &events},
        moved{"pointerMoved", &events}, focus{"focusChanged", &events}, opened{"opened", &events},
        closing{"closing", &events};
    dh_set_key_down_callback(screen, onKey, &keyDown);
    dh_set_key_stroke_callback(screen, onKey, &keyStroke);
    dh_set_key_up_callback(screen, onKey, &keyUp);
    dh_set_button_down_callback(screen, onMouse, &buttonDown);
    dh_set_button_up_callback(screen, onMouse, &buttonUp);
    dh_set_pointer_moved_callback(screen, onMouse, &moved);
    dh_set_focus_changed_callback(screen, onFocus, &focus);
    dh_set_opened_callback(screen, onOpened, &opened);
    dh_set_closing_callback(screen, onClosing, &closing);
    dh_set_vsync(screen, 0); // settings given before the open are kept
    dh_set_frame_rate(screen, 30);
    dh_set_built_in_keys(screen, 0);

    ASSERT_EQ(dh_open_screen(screen, "c", 320, 240, DH_MODE_WINDOWED, DH_PIXEL_FLOAT), 1);
    FakeWindow& fake = window();
    fake.send(wm::KeyDown, 'A');
    fake.send(wm::KeyUp, 'A');
    fake.send(wm::SetCursor, 0, HitClient);
    fake.send(wm::MouseMove, 0, mousePosition(10, 20));
    fake.send(wm::RButtonDown, 2, mousePosition(11, 21));
    fake.send(wm::RButtonUp, 0, mousePosition(12, 22));
    fake.send(wm::Activate, ActivateInactive);
    fake.send(wm::Close);

    EXPECT_EQ(events,
              (Events{"opened", "keyDown 65", "keyStroke 65", "keyUp 65", "pointerMoved 000 10,20",
                      "buttonDown 001 11,21", "buttonUp 000 12,22", "focusChanged 0", "closing"}));
    for (const Listener* heard : {&keyDown, &keyStroke, &keyUp, &buttonDown, &buttonUp, &moved,
                                  &focus, &opened, &closing}) {
        EXPECT_EQ(heard->screenSeen, screen) << heard->name;
    }
    EXPECT_STREQ(dh_title(screen), "c");
    EXPECT_EQ(dh_width(screen), 320);
    EXPECT_EQ(dh_height(screen), 240);
    EXPECT_EQ(dh_mode(screen), DH_MODE_WINDOWED);
    EXPECT_EQ(dh_pixel_mode(screen), DH_PIXEL_FLOAT);
    EXPECT_EQ(dh_vsync(screen), 0);
    EXPECT_EQ(dh_frame_rate(screen), 30);
    EXPECT_EQ(dh_built_in_keys(screen), 0);
    EXPECT_FALSE(platform->output()->vsync);
}

TEST_F(CInterfaceTest, AClosingCallbackAnsweringZeroKeepsTheWindow) {
    Listener closing{"closing", &events};
    closing.closeAnswer = 0;
    dh_set_closing_callback(screen, onClosing, &closing);
    ASSERT_EQ(dh_open_screen(screen, "c", 320, 240, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
    window().send(wm::Close);
    EXPECT_EQ(dh_show_frame(screen, pixel), 1);
    EXPECT_EQ(dh_is_open(screen), 1);
    closing.closeAnswer = 1;
    window().send(wm::Close);
    EXPECT_EQ(dh_show_frame(screen, pixel), 0);
    EXPECT_EQ(dh_is_open(screen), 0);
    EXPECT_EQ(events, (Events{"closing", "closing"}));
    // Closed, the screen opens again with its callbacks.
    Listener opened{"opened", &events};
    dh_set_opened_callback(screen, onOpened, &opened);
    EXPECT_EQ(dh_open_screen(screen, "again", 8, 8, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
    EXPECT_EQ(events.back(), "opened");
}

TEST_F(CInterfaceTest, NullHandlesAreHarmlessAndSayWhy) {
    const float floats[4] = {0, 0, 0, 0};
    setDisplayError("");
    EXPECT_EQ(dh_show_frame(nullptr, pixel), 0);
    EXPECT_STREQ(dh_error(), "dh_show_frame: the screen is null");
    EXPECT_EQ(dh_show_float_frame(nullptr, floats), 0);
    EXPECT_EQ(dh_open_screen(nullptr, "c", 8, 8, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 0);
    EXPECT_EQ(dh_is_open(nullptr), 0);
    EXPECT_STREQ(dh_title(nullptr), "");
    EXPECT_EQ(dh_width(nullptr) + dh_height(nullptr) + dh_mode(nullptr) + dh_frame_rate(nullptr),
              0);
    dh_set_title(nullptr, "x");
    dh_set_vsync(nullptr, 1);
    dh_set_closing_callback(nullptr, onClosing, nullptr);
    dh_close_screen(nullptr);
    dh_close(nullptr);
    // A null frame on an open screen is refused the same way, and the screen stays.
    ASSERT_EQ(dh_open_screen(screen, "c", 8, 8, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
    EXPECT_EQ(dh_show_frame(screen, nullptr), 0);
    EXPECT_NE(std::string(dh_error()).find("null"), std::string::npos);
    EXPECT_EQ(dh_is_open(screen), 1);
}

TEST_F(CInterfaceTest, AFailedOpenGivesNullAndItsReason) {
    EXPECT_EQ(dh_open("c", 0, 240, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), nullptr);
    EXPECT_EQ(std::string(dh_error()).find("width 0 is outside 1 to 1000"), 0u) << dh_error();
    EXPECT_EQ(dh_open("c", 320, 240, DH_MODE_WINDOWED, 5), nullptr);
    EXPECT_NE(std::string(dh_error()).find("pixel mode 5"), std::string::npos) << dh_error();
    testScreenFactory = nullptr; // no platform screen at all
    EXPECT_EQ(dh_open("c", 320, 240, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), nullptr);
    EXPECT_STRNE(dh_error(), "");
    dh_screen* opened = nullptr;
    testScreenFactory = [] { return std::unique_ptr<ScreenCore>(new FakePlatformScreen()); };
    opened = dh_open("c", 320, 240, DH_MODE_WINDOWED, DH_PIXEL_INTEGER);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(dh_is_open(opened), 1);
    dh_close(opened);
}

} // namespace
