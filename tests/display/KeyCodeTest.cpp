#include "display/KeyTable.h"

#include <gtest/gtest.h>

using namespace duskhall;

namespace {

TEST(KeyCode, TwelveKeysAreRemappedAndTheRestKeepTheirVirtualKeyCode) {
    const KeyTable table = makeKeyTable();
    const std::pair<int, int> remapped[] = {{13, 10},  {45, 155}, {46, 127},  {186, 59},
                                            {187, 61}, {188, 44}, {189, 108}, {190, 46},
                                            {191, 47}, {219, 91}, {220, 92},  {221, 93}};
    int changed = 0;
    for (int vk = 0; vk < 256; ++vk) {
        if (table[static_cast<std::size_t>(vk)] != vk) {
            ++changed;
        }
    }
    EXPECT_EQ(changed, 12);
    for (const auto& [vk, code] : remapped) {
        EXPECT_EQ(table[static_cast<std::size_t>(vk)], code) << "virtual key " << vk;
    }
}

TEST(KeyCode, EnterAndInsertCodesAreNeverProduced) {
    const KeyTable table = makeKeyTable();
    for (int vk = 0; vk < 256; ++vk) {
        EXPECT_NE(table[static_cast<std::size_t>(vk)], 13);
        EXPECT_NE(table[static_cast<std::size_t>(vk)], 45);
    }
}

} // namespace
