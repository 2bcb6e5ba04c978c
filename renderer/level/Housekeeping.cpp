#include "renderer/level/Housekeeping.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr const char* fatalCaption = "Housekeeping error";
constexpr std::int32_t firstCapacity = 128;

void** storage = nullptr;
std::int32_t capacity = 0;
std::int32_t count = 0;
FatalMessagePresenter presenter = nullptr;

// A failure here means the program cannot go on: tell the user and stop with a
// failure status, so that scripts see it as one.
[[noreturn]] void fail(const char* text) {
    std::fprintf(stderr, "%s: %s\n", fatalCaption, text);
    std::fflush(stderr);
    if (presenter != nullptr) {
        presenter(text, fatalCaption);
    }
    std::exit(1);
}

// Doubles the slot storage (128 slots the first time). Running out of memory
// while registering would lose the block, so it is fatal as well.
void grow() {
    if (capacity > INT32_MAX / 2) {
        fail("HKPtr: too many blocks");
    }
    const std::int32_t wanted = capacity == 0 ? firstCapacity : capacity * 2;
    void* resized = std::realloc(storage, static_cast<std::size_t>(wanted) * sizeof(void*));
    if (resized == nullptr) {
        fail("HKPtr: out of memory");
    }
    storage = static_cast<void**>(resized);
    capacity = wanted;
}

} // namespace

void setFatalMessagePresenter(FatalMessagePresenter newPresenter) {
    presenter = newPresenter;
}

std::int32_t HKPtr(void* block) {
    if (block == nullptr) {
        fail("HKPtr: NULL pointer");
    }
    if (count >= capacity) {
        grow();
    }
    storage[count] = block;
    return count++;
}

void HKFreeAll() {
    for (std::int32_t i = 0; i < count; ++i) {
        std::free(storage[i]);
    }
    count = 0;
}

std::int32_t HKCapacity() {
    return capacity;
}

std::int32_t HKCount() {
    return count;
}
