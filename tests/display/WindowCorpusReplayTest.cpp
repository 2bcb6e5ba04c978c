#include "tests/fuzz/WindowSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Every input the window fuzzer has kept is played again: its invariants must
// hold, and the sanitizer build checks the memory on the way.
TEST(WindowCorpus, EveryKeptInputKeepsTheScreensInvariants) {
    const std::filesystem::path corpus =
        std::filesystem::path(DUSKHALL_SOURCE_DIR) / "tests" / "fuzz" / "window-corpus";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 10u) << "the seed corpus is missing";
    for (const auto& file : files) {
        std::ifstream stream(file, std::ios::binary);
        const std::vector<std::uint8_t> input((std::istreambuf_iterator<char>(stream)),
                                              std::istreambuf_iterator<char>());
        EXPECT_EQ(runWindowSession(input.data(), input.size()), "") << file.filename();
    }
}

} // namespace
