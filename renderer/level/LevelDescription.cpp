#include "renderer/level/LevelDescription.h"

std::int32_t SectorDescription::edgeCount() const {
    std::size_t count = outline.size();
    for (const std::vector<std::int32_t>& hole : holes) {
        count += hole.size();
    }
    return static_cast<std::int32_t>(count);
}

void SectorDescription::edgeEnds(std::int32_t k, std::int32_t& from, std::int32_t& to) const {
    const std::vector<std::int32_t>* loop = &outline;
    std::size_t index = static_cast<std::size_t>(k);
    for (std::size_t h = 0; index >= loop->size() && h < holes.size(); ++h) {
        index -= loop->size();
        loop = &holes[h];
    }
    from = (*loop)[index];
    to = (*loop)[(index + 1) % loop->size()];
}
