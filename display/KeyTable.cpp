#include "display/KeyTable.h"

namespace duskhall {

namespace {

struct Remap {
    int virtualKey;
    KeyCode key;
};

// Keys whose code is not their virtual-key code.
constexpr Remap remapped[] = {
    {13, 10},   // Enter
    {45, 155},  // Insert
    {46, 127},  // Delete
    {186, 59},  // ;:
    {187, 61},  // =+
    {188, 44},  // ,<
    {189, 108}, // -_ (shares its code with the keypad separator)
    {190, 46},  // .>
    {191, 47},  // /?
    {219, 91},  // [{
    {220, 92},  // \|
    {221, 93},  // ]}
};

} // namespace

KeyTable makeKeyTable() {
    KeyTable table{};
    for (int i = 0; i < 256; ++i) {
        table[static_cast<std::size_t>(i)] = i;
    }
    for (const Remap& entry : remapped) {
        table[static_cast<std::size_t>(entry.virtualKey)] = entry.key;
    }
    return table;
}

} // namespace duskhall
