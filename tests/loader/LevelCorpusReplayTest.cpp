#include "../fuzz/LevelExercise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The folder's files, or only those ending in the given extension.
std::vector<std::filesystem::path> filesIn(const std::filesystem::path& folder,
                                           const char* extension = nullptr) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() &&
            (extension == nullptr || entry.path().extension() == extension)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every input the level fuzzer has kept, and every bundled level, is either
// refused with one line naming it or built, drawn and walked; the sanitizer build
// catches memory faults on the way.
TEST(LevelCorpus, EveryInputIsRefusedClearlyOrDrawn) {
    const std::filesystem::path source(DUSKHALL_SOURCE_DIR);
    std::vector<std::filesystem::path> files = filesIn(source / "tests" / "fuzz" / "level-corpus");
    ASSERT_GE(files.size(), 10u) << "the level corpus is missing";
    const std::vector<std::filesystem::path> bundled =
        filesIn(source / "levels", ".json"); // their textures lie beside them
    files.insert(files.end(), bundled.begin(), bundled.end());
    int accepted = 0;
    int refused = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string message = exerciseLevel(contents(file));
        (message.empty() ? accepted : refused) += 1;
    }
    EXPECT_GE(accepted, static_cast<int>(bundled.size()));
    EXPECT_GT(refused, 0);
}

TEST(LevelCorpus, TheBundledLevelsAreAccepted) {
    for (const auto& file :
         filesIn(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "levels", ".json")) {
        EXPECT_EQ(exerciseLevel(contents(file)), "") << file;
    }
}

} // namespace
