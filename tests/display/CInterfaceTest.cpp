// The C interface over a platform of plain values: each callback reaches its own
// user pointer with the event's values, a refused close keeps the window, null
// handles are harmless and failures leave their reason in dh_error.
#include <duskhall/duskhall_c.h>

#include "DisplayFakes.h"
#include "TestPlatformScreen.h"
#include "display/DisplayError.h"

#include <gtest/gtest.h>

#include <functional>
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

// What the guide tells C programs to do in opened works on the first open as on
// every later one.
void setUpInOpened(dh_screen* screen, void* user) {
    auto& answers = *static_cast<std::vector<int>*>(user);
    answers.push_back(dh_set_resizable(screen, 1));
    answers.push_back(dh_set_title(screen, "set in opened"));
    answers.push_back(dh_width(screen));
}

TEST_F(CInterfaceTest, TheScreenAnswersInsideOpenedOnTheFirstOpenAndAgain) {
    std::vector<int> answers;
    dh_set_opened_callback(screen, setUpInOpened, &answers);
    ASSERT_EQ(dh_open_screen(screen, "c", 320, 240, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
    ASSERT_EQ(dh_open_screen(screen, "c", 64, 48, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
    EXPECT_EQ(answers, (std::vector<int>{1, 1, 320, 1, 1, 64}));
    EXPECT_STREQ(dh_title(screen), "set in opened");
    EXPECT_EQ(dh_resizable(screen), 1);
}

// Every refusal on a closed screen says why, naming the C function called.
TEST_F(CInterfaceTest, RefusalsOnAClosedScreenSayWhyInTheirCNames) {
    const float floats[4] = {0, 0, 0, 0};
    const struct {
        std::function<int()> call;
        const char* function;
    } refused[] = {
        {[&] { return dh_show_frame(screen, pixel); }, "dh_show_frame"},
        {[&] { return dh_show_float_frame(screen, floats); }, "dh_show_float_frame"},
        {[&] { return dh_set_resizable(screen, 1); }, "dh_set_resizable"},
        {[&] { return dh_set_zoom(screen, 2); }, "dh_set_zoom"},
        {[&] { return dh_set_frame_size(screen, 8, 8); }, "dh_set_frame_size"},
        {[&] { return dh_set_cursor_visible(screen, 0); }, "dh_set_cursor_visible"},
        {[&] { return dh_set_title(screen, "t"); }, "dh_set_title"},
        {[&] { return dh_set_always_on_top(screen, 1); }, "dh_set_always_on_top"},
    };
    for (const bool everOpened : {false, true}) {
        if (everOpened) {
            ASSERT_EQ(dh_open_screen(screen, "c", 8, 8, DH_MODE_WINDOWED, DH_PIXEL_INTEGER), 1);
            dh_close_screen(screen);
        }
        for (const auto& c : refused) {
            setDisplayError("an older reason");
            EXPECT_EQ(c.call(), 0) << c.function;
            EXPECT_EQ(std::string(dh_error()),
                      std::string(c.function) + ": the screen is not open");
        }
    }
    EXPECT_EQ(dh_open_screen(screen, "c", 8, 8, DH_MODE_WINDOWED, 5), 0);
    EXPECT_STREQ(dh_error(), "dh_open_screen: pixel mode 5 is neither DH_PIXEL_INTEGER (0) nor "
                             "DH_PIXEL_FLOAT (1)");
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

namespace {

// A platform screen that notes each new operation as "name arguments" and answers
// them with fixed values, so that what is checked is the C layer's forwarding
// and conversions alone.
class ForwardingScreen : public FakePlatformScreen {
  public:
    bool setResizable(bool on) override { return note("setResizable", on); }
    bool resizable() const override { return true; }
    bool setScaling(Scaling scaling) override {
        return note("setScaling", static_cast<int>(scaling));
    }
    Scaling scaling() const override { return Scaling::Stretch; }
    bool setZoom(std::int32_t factor) override { return note("setZoom", factor); }
    bool setFrameSize(std::int32_t width, std::int32_t height) override {
        return note("setFrameSize", width, height);
    }
    Size desktopSize() const override { return Size{2560, 1440}; }
    float displayScale() const override { return 2.0f; }
    Modifiers modifiers() const override {
        return Modifiers{Modifiers::RightShift | Modifiers::LeftSuper};
    }
    bool setCursorVisible(bool visible) override { return note("setCursorVisible", visible); }
    bool cursorVisible() const override { return false; }
    bool setRelativeMouse(bool on) override { return note("setRelativeMouse", on); }
    bool relativeMouse() const override { return true; }
    bool setTitle(const char* title) override { return note(std::string("setTitle ") + title); }
    bool setBorderless(bool on) override { return note("setBorderless", on); }
    bool borderless() const override { return true; }
    bool setAlwaysOnTop(bool on) override { return note("setAlwaysOnTop", on); }
    bool alwaysOnTop() const override { return true; }
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override {
        return note("setIcon " + std::to_string(pixels[0]), width, height);
    }

    bool answer = true;
    Events calls;

  private:
    bool note(const std::string& call, int first = -1, int second = -1) {
        calls.push_back(call + (first < 0 ? "" : " " + std::to_string(first)) +
                        (second < 0 ? "" : " " + std::to_string(second)));
        return answer;
    }
};

void onWheel(dh_screen* screen, float dx, float dy, void* user) {
    listener(user).hear(screen, " " + std::to_string(dx) + " " + std::to_string(dy));
}
void onText(dh_screen* screen, const char* utf8, void* user) {
    listener(user).hear(screen, std::string(" ") + utf8);
}
void onResized(dh_screen* screen, int32_t width, int32_t height, void* user) {
    listener(user).hear(screen, " " + std::to_string(width) + "x" + std::to_string(height));
}
void onMove(dh_screen* screen, const dh_mouse* mouse, void* user) {
    listener(user).hear(screen, " " + std::to_string(mouse->dx) + " " + std::to_string(mouse->dy));
}

TEST(CInterfaceForwarding, EachNewOperationReachesTheScreenWithItsArgumentsAndAnswer) {
    ForwardingScreen* forwarding = nullptr;
    testScreenFactory = [&] {
        auto made = std::make_unique<ForwardingScreen>();
        forwarding = made.get();
        return std::unique_ptr<ScreenCore>(std::move(made));
    };
    dh_screen* screen = dh_open("c", 8, 8, DH_MODE_WINDOWED, DH_PIXEL_INTEGER);
    ASSERT_NE(screen, nullptr);
    const uint32_t icon[1] = {0xFF123456u};
    const struct {
        std::function<int()> call;
        const char* reaches;
    } setters[] = {
        {[&] { return dh_set_resizable(screen, 2); }, "setResizable 1"},
        {[&] { return dh_set_scaling(screen, DH_SCALING_INTEGER); }, "setScaling 1"},
        {[&] { return dh_set_zoom(screen, 4); }, "setZoom 4"},
        {[&] { return dh_set_frame_size(screen, 640, 360); }, "setFrameSize 640 360"},
        {[&] { return dh_set_cursor_visible(screen, 0); }, "setCursorVisible 0"},
        {[&] { return dh_set_relative_mouse(screen, 1); }, "setRelativeMouse 1"},
        {[&] { return dh_set_title(screen, "t"); }, "setTitle t"},
        {[&] { return dh_set_borderless(screen, 1); }, "setBorderless 1"},
        {[&] { return dh_set_always_on_top(screen, 0); }, "setAlwaysOnTop 0"},
        {[&] { return dh_set_icon(screen, icon, 1, 1); }, "setIcon 4279383126 1 1"},
    };
    for (const bool answer : {true, false}) {
        forwarding->answer = answer;
        for (const auto& setter : setters) {
            forwarding->calls.clear();
            EXPECT_EQ(setter.call(), answer ? 1 : 0) << setter.reaches;
            EXPECT_EQ(forwarding->calls, Events{setter.reaches});
        }
    }
    // A scaling C has no name for never reaches the screen.
    forwarding->calls.clear();
    EXPECT_EQ(dh_set_scaling(screen, 3), 0);
    EXPECT_NE(std::string(dh_error()).find("dh_set_scaling: 3 is none of"), std::string::npos);
    EXPECT_TRUE(forwarding->calls.empty());

    EXPECT_EQ(dh_resizable(screen), 1);
    EXPECT_EQ(dh_scaling(screen), DH_SCALING_STRETCH);
    int32_t width = 0, height = 0;
    dh_desktop_size(screen, &width, &height);
    EXPECT_EQ(width * 10000 + height, 2560 * 10000 + 1440);
    dh_desktop_size(screen, nullptr, nullptr);
    EXPECT_EQ(dh_display_scale(screen), 2.0f);
    EXPECT_EQ(dh_modifiers(screen), static_cast<uint32_t>(DH_MOD_RIGHT_SHIFT | DH_MOD_LEFT_SUPER));
    EXPECT_EQ(dh_cursor_visible(screen), 0);
    EXPECT_EQ(dh_relative_mouse(screen), 1);
    EXPECT_EQ(dh_borderless(screen), 1);
    EXPECT_EQ(dh_always_on_top(screen), 1);

    // The new callbacks, and the mouse's change, reach C with their values.
    Events events;
    Listener wheel{"wheel", &events}, text{"text", &events}, resized{"resized", &events},
        moved{"pointerMoved", &events};
    dh_set_wheel_callback(screen, onWheel, &wheel);
    dh_set_text_callback(screen, onText, &text);
    dh_set_resized_callback(screen, onResized, &resized);
    dh_set_pointer_moved_callback(screen, onMove, &moved);
    InputObserver& observer = *forwarding->observer();
    observer.wheel(*forwarding, 0.5f, -1.0f);
    observer.text(*forwarding, "\xC3\xA9!");
    observer.resized(*forwarding, 800, 600);
    MouseState mouse;
    mouse.dx = 3.0f;
    mouse.dy = -0.25f;
    observer.pointerMoved(*forwarding, mouse);
    EXPECT_EQ(events, (Events{"wheel 0.500000 -1.000000", "text \xC3\xA9!", "resized 800x600",
                              "pointerMoved 3.000000 -0.250000"}));
    for (const Listener* heard : {&wheel, &text, &resized, &moved}) {
        EXPECT_EQ(heard->screenSeen, screen) << heard->name;
    }
    dh_close(screen);
    testScreenFactory = nullptr;

    // A null handle answers 0 (or the closed screen's values) and names the function.
    EXPECT_EQ(dh_set_always_on_top(nullptr, 1), 0);
    EXPECT_STREQ(dh_error(), "dh_set_always_on_top: the screen is null");
    dh_desktop_size(nullptr, &width, &height);
    EXPECT_EQ(width + height, 0);
    EXPECT_EQ(dh_display_scale(nullptr), 1.0f);
    EXPECT_EQ(dh_cursor_visible(nullptr), 1);
}

} // namespace
