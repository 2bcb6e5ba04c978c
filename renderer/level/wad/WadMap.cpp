#include "renderer/level/wad/WadMap.h"

#include "renderer/level/wad/WadBytes.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Indices in the records are 16 bits, and 0xFFFF means "no sidedef".
constexpr std::size_t maxRecords = 65535;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The lumps a map may have after its marker; the first other name ends the map.
bool isMapLump(const std::string& name) {
    static const char* const names[] = {"THINGS", "LINEDEFS", "SIDEDEFS", "VERTEXES",
                                        "SEGS",   "SSECTORS", "NODES",    "SECTORS",
                                        "REJECT", "BLOCKMAP", "BEHAVIOR", "SCRIPTS"};
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

class MapReader {
  public:
    MapReader(const WadFile& wad, WadMap& map, std::string& error)
        : wad_(wad), map_(map), error_(error) {}

    bool read(std::size_t marker) {
        end_ = marker + 1;
        while (end_ < wad_.lumpCount() && isMapLump(wad_.lump(end_).name)) {
            ++end_;
        }
        marker_ = marker;
        if (wad_.findIn("BEHAVIOR", marker + 1, end_) >= 0) {
            return fail(map_.name, "a Hexen-format map (it has BEHAVIOR), which is not read");
        }
        return readRecords("VERTEXES", 4, map_.vertexes, readVertex) &&
               readRecords("SECTORS", 26, map_.sectors, readSector) &&
               readRecords("SIDEDEFS", 30, map_.sidedefs, readSidedef) &&
               readRecords("LINEDEFS", 14, map_.linedefs, readLinedef) &&
               readRecords("THINGS", 10, map_.things, readThing) && checkSidedefs() &&
               checkLinedefs();
    }

  private:
    static WadVertex readVertex(const std::uint8_t* p) { return {wadI16(p), wadI16(p + 2)}; }
    static WadSector readSector(const std::uint8_t* p) {
        WadSector s;
        s.floorHeight = wadI16(p);
        s.ceilingHeight = wadI16(p + 2);
        s.floorFlat = wadName(p + 4);
        s.ceilingFlat = wadName(p + 12);
        s.light = wadI16(p + 20);
        s.special = wadI16(p + 22);
        s.tag = wadI16(p + 24);
        return s;
    }
    static WadSidedef readSidedef(const std::uint8_t* p) {
        WadSidedef s;
        s.xOffset = wadI16(p);
        s.yOffset = wadI16(p + 2);
        s.upper = wadName(p + 4);
        s.lower = wadName(p + 12);
        s.middle = wadName(p + 20);
        s.sector = wadU16(p + 28);
        return s;
    }
    static std::int32_t side(std::uint16_t index) {
        return index == 0xFFFF ? noWadSide : static_cast<std::int32_t>(index);
    }
    static WadLinedef readLinedef(const std::uint8_t* p) {
        WadLinedef l;
        l.start = wadU16(p);
        l.end = wadU16(p + 2);
        l.flags = wadU16(p + 4);
        l.special = wadU16(p + 6);
        l.tag = wadU16(p + 8);
        l.right = side(wadU16(p + 10));
        l.left = side(wadU16(p + 12));
        return l;
    }
    static WadThing readThing(const std::uint8_t* p) {
        return {wadI16(p), wadI16(p + 2), wadI16(p + 4), wadI16(p + 6), wadI16(p + 8)};
    }

    template <typename Record, typename Reader>
    bool readRecords(const char* lumpName, std::size_t recordBytes, std::vector<Record>& records,
                     Reader reader) {
        place_ = map_.name + " " + lumpName;
        const std::int64_t index = wad_.findIn(lumpName, marker_ + 1, end_);
        if (index < 0) {
            return fail(map_.name, std::string("has no ") + lumpName + " lump");
        }
        const WadLump& lump = wad_.lump(static_cast<std::size_t>(index));
        if (lump.size % recordBytes != 0) {
            return fail(place_, std::to_string(lump.size) + " bytes, not a whole number of " +
                                    std::to_string(recordBytes) + "-byte records");
        }
        const std::size_t count = lump.size / recordBytes;
        if (count > maxRecords) {
            return fail(place_, std::to_string(count) + " records, more than the " +
                                    std::to_string(maxRecords) + " a map may have");
        }
        const std::uint8_t* data = wad_.lumpData(static_cast<std::size_t>(index));
        records.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            records[i] = reader(data + i * recordBytes);
        }
        return true;
    }

    bool checkSidedefs() {
        for (std::size_t i = 0; i < map_.sidedefs.size(); ++i) {
            if (map_.sidedefs[i].sector >= map_.sectors.size()) {
                return fail(map_.name + " SIDEDEFS",
                            "sidedef " + std::to_string(i) + " names sector " +
                                std::to_string(map_.sidedefs[i].sector) + " (the map has " +
                                std::to_string(map_.sectors.size()) + ")");
            }
        }
        return true;
    }

    bool checkLinedefs() {
        const std::string place = map_.name + " LINEDEFS";
        for (std::size_t i = 0; i < map_.linedefs.size(); ++i) {
            const WadLinedef& line = map_.linedefs[i];
            const std::string which = "linedef " + std::to_string(i);
            for (const std::uint16_t vertex : {line.start, line.end}) {
                if (vertex >= map_.vertexes.size()) {
                    return fail(place, which + " names vertex " + std::to_string(vertex) +
                                           " (the map has " + std::to_string(map_.vertexes.size()) +
                                           ")");
                }
            }
            for (const std::int32_t sidedef : {line.right, line.left}) {
                if (sidedef != noWadSide &&
                    static_cast<std::size_t>(sidedef) >= map_.sidedefs.size()) {
                    return fail(place, which + " names sidedef " + std::to_string(sidedef) +
                                           " (the map has " + std::to_string(map_.sidedefs.size()) +
                                           ")");
                }
            }
        }
        return true;
    }

    bool fail(const std::string& place, const std::string& what) {
        error_ = wad_.problem(place, what);
        return false;
    }

    const WadFile& wad_;
    WadMap& map_;
    std::string& error_;
    std::size_t marker_ = 0;
    std::size_t end_ = 0;
    std::string place_;
};

} // namespace

bool isWadMapName(const std::string& name) {
    const bool episode = name.size() == 4 && name[0] == 'E' && name[2] == 'M' && name[1] >= '1' &&
                         name[1] <= '9' && name[3] >= '1' && name[3] <= '9';
    const bool numbered =
        name.size() == 5 && name.compare(0, 3, "MAP") == 0 && isDigit(name[3]) && isDigit(name[4]);
    return episode || numbered;
}

std::vector<std::string> wadMapNames(const WadFile& wad) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i + 1 < wad.lumpCount(); ++i) {
        const std::string& name = wad.lump(i).name;
        if (isWadMapName(name) && wad.lump(i + 1).name == "THINGS" &&
            std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    }
    return names;
}

bool readWadMap(const WadFile& wad, const std::string& name, WadMap& map, std::string& error) {
    map = WadMap{};
    map.name = canonicalWadName(name);
    const std::int64_t marker = isWadMapName(map.name) ? wad.find(map.name) : -1;
    if (marker < 0) {
        error = wad.problem(name, "no such map in the file");
        return false;
    }
    MapReader reader(wad, map, error);
    if (!reader.read(static_cast<std::size_t>(marker))) {
        map = WadMap{};
        return false;
    }
    return true;
}

std::string wadSkyTexture(const std::string& mapName) {
    const std::string name = canonicalWadName(mapName);
    if (name.size() == 4 && name[0] == 'E' && name[1] >= '1' && name[1] <= '4') {
        return std::string("SKY") + name[1];
    }
    if (name.size() == 5 && name.compare(0, 3, "MAP") == 0) {
        const int number = std::atoi(name.c_str() + 3);
        return number <= 11 ? "SKY1" : number <= 20 ? "SKY2" : "SKY3";
    }
    return "SKY1";
}

const WadThing* wadPlayerStart(const WadMap& map) {
    for (auto it = map.things.rbegin(); it != map.things.rend(); ++it) {
        if (it->type == 1) {
            return &*it;
        }
    }
    return nullptr;
}
