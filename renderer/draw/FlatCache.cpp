#include "renderer/draw/FlatCache.h"

#include "renderer/draw/FrameGeometry.h"

FlatCacheEntry* flatCache = nullptr;
std::int32_t flatCacheSize = 0;

void resizeFlatCache(std::int32_t entries) {
    delete[] flatCache;
    flatCache = entries > 0 ? new FlatCacheEntry[static_cast<std::size_t>(entries)] : nullptr;
    flatCacheSize = entries > 0 ? entries : 0;
    for (std::int32_t key = 0; key < flatCacheSize; ++key) {
        sizeFlatRows(flatCache[key]);
    }
}

void sizeFlatRows(FlatCacheEntry& entry) {
    entry.rowDepth.assign(static_cast<std::size_t>(frameGeometry.height), 0);
    entry.rowLift.assign(static_cast<std::size_t>(frameGeometry.height), 0);
}

void invalidateFlatCache() {
    for (std::int32_t key = 0; key < flatCacheSize; ++key) {
        flatCache[key].valid.store(flatEmpty, std::memory_order_relaxed);
    }
}
