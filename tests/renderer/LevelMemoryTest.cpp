#include "RendererFixture.h"

#include "renderer/level/Level.h"

#include <atomic>
#include <cstdlib>
#include <new>

// The level's records are arrays made with new[]: this program counts the ones
// alive, so a level that forgets one of them shows without a leak checker.
namespace {

std::atomic<long> liveArrays{0};

} // namespace

void* operator new[](std::size_t size) {
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    ++liveArrays;
    return block;
}

void operator delete[](void* block) noexcept {
    if (block != nullptr) {
        --liveArrays;
        std::free(block);
    }
}

void operator delete[](void* block, std::size_t) noexcept {
    operator delete[](block);
}

namespace {

using LevelMemoryTest = RendererFixture;

void buildLevelFrom(const std::filesystem::path& dir) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    buildLevel();
    std::filesystem::current_path(previous);
}

// Both rooms' wall arrays, the sectors, the points and the texture table go
// with the level; the texture pixels stay with the registry.
TEST_F(LevelMemoryTest, FreeingTheLevelDeletesEveryArrayItBuilt) {
    freeLevel();
    const long before = liveArrays;
    buildLevelFrom(writeCodedTextures("LevelMemoryTest"));
    ASSERT_NE(sectors, nullptr);
    EXPECT_EQ(sectors[1].wallCount, 3);
    EXPECT_GT(liveArrays - before, 2) << "at least the two rooms' wall arrays";
    freeLevel();
    EXPECT_EQ(liveArrays, before);
}

} // namespace
