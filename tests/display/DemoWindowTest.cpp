#include "XWindowProbe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The demo program, started in the folder with the textures (or another one).
class DemoProcess {
  public:
    // errors names a file for the program's standard error, or is empty.
    explicit DemoProcess(const std::string& folder = std::string(DUSKHALL_SOURCE_DIR) + "/assets",
                         const std::string& errors = "") {
        pid_ = fork();
        if (pid_ == 0) {
            const std::string program = std::string(DUSKHALL_BINARY_DIR) + "/duskhall";
            if (!errors.empty() && freopen(errors.c_str(), "w", stderr) == nullptr) {
                _exit(126);
            }
            if (chdir(folder.c_str()) == 0) {
                execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            }
            _exit(127);
        }
    }
    ~DemoProcess() {
        if (pid_ > 0 && !finished_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    // The exit status, or -1 when the program is still running after the wait.
    int waitForExit(int milliseconds) {
        for (int waited = 0; waited <= milliseconds; waited += 20) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                finished_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
    bool finished_ = false;
};

bool texturesPresent() {
    return access((std::string(DUSKHALL_SOURCE_DIR) + "/assets/wall1.png").c_str(), R_OK) == 0;
}

// Every check needs the textures and a connection to the test's X display.
class DemoWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!texturesPresent()) {
            GTEST_SKIP() << "no textures in assets/";
        }
        ASSERT_TRUE(probe.connected());
    }

    XWindowProbe probe;
};

TEST_F(DemoWindow, ShowsTexturedFramesAndEscapeEndsWithZero) {
    DemoProcess demo;
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    int width = 0;
    int height = 0;
    const std::vector<std::uint32_t> pixels = probe.capture(window, width, height);
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    const std::set<std::uint32_t> colours(pixels.begin(), pixels.end());
    EXPECT_GT(colours.size(), 100u) << "the window does not show a textured picture";

    const std::string key = "xdotool key --window " + std::to_string(window) + " Escape";
    ASSERT_EQ(std::system(key.c_str()), 0);
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

TEST_F(DemoWindow, TheCloseBoxEndsWithZero) {
    DemoProcess demo;
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    probe.askToClose(window);
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

// The share of pixels that differ between two captures of the same size.
double changedShare(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b) {
    if (a.size() != b.size() || a.empty()) {
        return 1.0;
    }
    std::size_t changed = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        changed += a[i] != b[i] ? 1 : 0;
    }
    return static_cast<double>(changed) / static_cast<double>(a.size());
}

void sendKeys(unsigned long window, const std::string& action) {
    const std::string command = "xdotool " + action.substr(0, action.find(' ')) + " --window " +
                                std::to_string(window) + action.substr(action.find(' '));
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<std::uint32_t> captureAfter(XWindowProbe& probe, unsigned long window,
                                        int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    int width = 0;
    int height = 0;
    return probe.capture(window, width, height);
}

// A scratch folder with links to the seven textures, for runs that write files.
std::string textureFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "demo-window-test" / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* texture : {"wall1.png", "wall2.png", "wall3.png", "floor1.png", "floor2.png",
                                "floor3.png", "floor4.png"}) {
        std::filesystem::create_symlink(
            std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets" / texture, folder / texture);
    }
    return folder.string();
}

TEST_F(DemoWindow, TabThenWWalksAndEscapeStillEndsWithZero) {
    DemoProcess demo;
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    sendKeys(window, "key Tab");
    // In explore mode with no key held the camera stays: only the moving room's
    // floor changes the picture (a fifth of it at most from the starting place),
    // where the script moves the whole view between any two captures. Waited for,
    // since a loaded machine may take a while to draw the next frames.
    std::vector<std::uint32_t> standing = captureAfter(probe, window, 0);
    bool settled = false;
    for (int tries = 0; tries < 40 && !settled; ++tries) {
        const std::vector<std::uint32_t> next = captureAfter(probe, window, 150);
        settled = changedShare(standing, next) < 0.35;
        standing = next;
    }
    ASSERT_TRUE(settled) << "the camera kept moving after Tab";

    sendKeys(window, "keydown w");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    sendKeys(window, "keyup w");
    // A fifth of a unit's walk already changes nearly every pixel.
    bool walked = false;
    for (int tries = 0; tries < 30 && !walked; ++tries) {
        walked = changedShare(standing, captureAfter(probe, window, 100)) > 0.6;
    }
    EXPECT_TRUE(walked) << "W did not move the camera";

    sendKeys(window, "key Escape");
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

TEST_F(DemoWindow, F12SavesNumberedScreenshotsBesideExistingOnes) {
    const std::string folder = textureFolder("screenshots");
    std::ofstream(folder + "/duskhall-0001.png") << "not ours";
    DemoProcess demo(folder);
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    // One press at a time: a release followed at once by a press of the same key in
    // the queue looks like auto-repeat to SDL, and the second press would be lost.
    for (const char* name : {"/duskhall-0002.png", "/duskhall-0003.png"}) {
        sendKeys(window, "key F12");
        for (int waited = 0; waited < 5000 && !std::filesystem::exists(folder + name);
             waited += 50) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(std::filesystem::exists(folder + name)) << name;
    }
    sendKeys(window, "key Escape");
    EXPECT_EQ(demo.waitForExit(10000), 0);

    std::ifstream kept(folder + "/duskhall-0001.png");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "not ours");
    for (const char* name : {"/duskhall-0002.png", "/duskhall-0003.png"}) {
        std::ifstream png(folder + name, std::ios::binary);
        std::string header(24, '\0');
        png.read(header.data(), 24);
        EXPECT_EQ(header.substr(1, 3), "PNG") << name;
        EXPECT_EQ(header.substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xF0", 8)) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/duskhall-0004.png"));
}

TEST_F(DemoWindow, AScreenshotThatCannotBeWrittenIsReportedAndTheDemoGoesOn) {
    // The working folder goes away under the running demo: nothing can be created there.
    const std::string folder = textureFolder("screenshot-fails");
    const std::string errors =
        std::string(DUSKHALL_BINARY_DIR) + "/demo-window-test/screenshot-fails.stderr";
    DemoProcess demo(folder, errors);
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    std::filesystem::remove_all(folder);
    sendKeys(window, "key F12");
    std::string reported;
    for (int waited = 0; waited < 5000 && reported.empty(); waited += 50) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream in(errors);
        reported.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_NE(reported.find("duskhall: cannot save the frame: cannot create duskhall-0001.png"),
              std::string::npos)
        << reported;
    // Still running and still drawing: Escape ends it as usual.
    EXPECT_EQ(demo.waitForExit(200), -1);
    sendKeys(window, "key Escape");
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

TEST_F(DemoWindow, FShowsTheFrameRateInTheTitleAndTakesItAway) {
    DemoProcess demo;
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    sendKeys(window, "key f");
    std::string title;
    int rate = -1;
    for (int waited = 0; waited < 5000 && rate < 0; waited += 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        title = probe.windowName(window);
        if (std::sscanf(title.c_str(), "duskhall \xC2\xB7 %d fps", &rate) != 1) {
            rate = -1;
        }
    }
    EXPECT_GT(rate, 0) << "title: " << title;
    EXPECT_EQ(title, "duskhall \xC2\xB7 " + std::to_string(rate) + " fps");

    sendKeys(window, "key f");
    for (int waited = 0; waited < 5000 && title != "duskhall"; waited += 100) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        title = probe.windowName(window);
    }
    EXPECT_EQ(title, "duskhall");
    sendKeys(window, "key Escape");
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

} // namespace
