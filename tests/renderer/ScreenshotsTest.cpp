#include "../loader/TempDir.h"

#include "renderer/draw/ScreenSize.h"
#include "renderer/output/Screenshots.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

TEST(ScreenshotsTest, TakeTheNextFreeNumberAndNeverReplaceAFile) {
    TempDir dir;
    std::ofstream(dir.file("duskhall-0001.png")) << "mine";
    std::ofstream(dir.file("duskhall-0003.png")) << "also mine";
    Screenshots shots(dir.file("duskhall-"));
    const std::vector<PackedPixel> frame(screenPixels, 0xFF336699u);

    std::vector<std::string> names;
    for (int i = 0; i < 3; ++i) {
        std::string message;
        ASSERT_TRUE(shots.save(frame.data(), screenWidth, screenHeight, message)) << message;
        names.push_back(message);
    }
    EXPECT_EQ(names, (std::vector<std::string>{dir.file("duskhall-0002.png"),
                                               dir.file("duskhall-0004.png"),
                                               dir.file("duskhall-0005.png")}));
    EXPECT_EQ(readAll(dir.file("duskhall-0001.png")), "mine");
    EXPECT_EQ(readAll(dir.file("duskhall-0003.png")), "also mine");
    const std::string png = readAll(dir.file("duskhall-0004.png"));
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xF0", 8)); // 320 x 240

    // A file made behind its back is skipped too.
    std::ofstream(dir.file("duskhall-0006.png")) << "made meanwhile";
    std::string message;
    ASSERT_TRUE(shots.save(frame.data(), screenWidth, screenHeight, message));
    EXPECT_EQ(message, dir.file("duskhall-0007.png"));
    EXPECT_EQ(readAll(dir.file("duskhall-0006.png")), "made meanwhile");
}

TEST(ScreenshotsTest, AFailureSaysWhyAndLeavesNoFile) {
    TempDir dir;
    const std::vector<PackedPixel> frame(screenPixels, 0u);
    Screenshots nowhere(dir.file("no-such-folder/duskhall-"));
    std::string message;
    EXPECT_FALSE(nowhere.save(frame.data(), screenWidth, screenHeight, message));
    EXPECT_NE(message.find("cannot create"), std::string::npos) << message;
    EXPECT_NE(message.find("duskhall-0001.png"), std::string::npos) << message;

    // A picture libpng refuses: the file it was going into is removed again.
    Screenshots shots(dir.file("duskhall-"));
    EXPECT_FALSE(shots.save(frame.data(), 0, screenHeight, message));
    EXPECT_EQ(message, "cannot write " + dir.file("duskhall-0001.png"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("duskhall-0001.png")));
    // The number was not used up.
    ASSERT_TRUE(shots.save(frame.data(), screenWidth, screenHeight, message)) << message;
    EXPECT_EQ(message, dir.file("duskhall-0001.png"));
}

// The last number is used, and once every name is taken the message says so and no
// file is written.
TEST(ScreenshotsTest, TheLastNumberIsUsedAndAFullFolderIsReported) {
    TempDir dir;
    for (int number = 1; number < Screenshots::mostNumber; ++number) {
        char name[32];
        std::snprintf(name, sizeof name, "duskhall-%04d.png", number);
        std::ofstream(dir.file(name)).put('x');
    }
    Screenshots shots(dir.file("duskhall-"));
    const std::vector<PackedPixel> frame(screenPixels, 0xFF336699u);
    std::string message;
    ASSERT_TRUE(shots.save(frame.data(), screenWidth, screenHeight, message)) << message;
    EXPECT_EQ(message, dir.file("duskhall-9999.png"));

    EXPECT_FALSE(shots.save(frame.data(), screenWidth, screenHeight, message));
    EXPECT_EQ(message, "every name up to " + dir.file("duskhall-9999.png") + " is taken");
    // A fresh numbering finds the folder full as well.
    Screenshots again(dir.file("duskhall-"));
    EXPECT_FALSE(again.save(frame.data(), screenWidth, screenHeight, message));
    EXPECT_EQ(message, "every name up to " + dir.file("duskhall-9999.png") + " is taken");
    EXPECT_FALSE(std::filesystem::exists(dir.file("duskhall-10000.png")));
    EXPECT_EQ(readAll(dir.file("duskhall-0017.png")), "x");
}
