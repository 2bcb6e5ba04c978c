#include "XWindowProbe.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The demo program, started in the folder with the textures.
class DemoProcess {
  public:
    DemoProcess() {
        pid_ = fork();
        if (pid_ == 0) {
            const std::string assets = std::string(DUSKHALL_SOURCE_DIR) + "/assets";
            const std::string program = std::string(DUSKHALL_BINARY_DIR) + "/duskhall";
            if (chdir(assets.c_str()) == 0) {
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

TEST(DemoWindow, ShowsTexturedFramesAndEscapeEndsWithZero) {
    if (!texturesPresent()) {
        GTEST_SKIP() << "no textures in assets/";
    }
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
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

TEST(DemoWindow, TheCloseBoxEndsWithZero) {
    if (!texturesPresent()) {
        GTEST_SKIP() << "no textures in assets/";
    }
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    DemoProcess demo;
    const unsigned long window = probe.waitForWindow("duskhall", 10000);
    ASSERT_NE(window, 0u);
    probe.askToClose(window);
    EXPECT_EQ(demo.waitForExit(10000), 0);
}

} // namespace
