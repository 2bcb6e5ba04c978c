#include "TestWad.h"

#include <fstream>

namespace wad_bytes {

void put16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
    }
}

void putName(std::vector<std::uint8_t>& out, const std::string& name) {
    for (std::size_t i = 0; i < 8; ++i) {
        out.push_back(i < name.size() ? static_cast<std::uint8_t>(name[i]) : 0);
    }
}

void set32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int64_t value) {
    std::vector<std::uint8_t> field;
    put32(field, value);
    std::copy(field.begin(), field.end(), bytes.begin() + static_cast<long>(offset));
}

std::vector<std::uint8_t> things(const std::vector<WadThing>& things) {
    std::vector<std::uint8_t> out;
    for (const WadThing& t : things) {
        for (const int v : {t.x, t.y, t.angle, t.type, t.flags}) {
            put16(out, v);
        }
    }
    return out;
}

std::vector<std::uint8_t> linedefs(const std::vector<WadLinedef>& lines) {
    std::vector<std::uint8_t> out;
    for (const WadLinedef& l : lines) {
        for (const int v :
             {int{l.start}, int{l.end}, int{l.flags}, int{l.special}, int{l.tag},
              l.right == noWadSide ? 0xFFFF : l.right, l.left == noWadSide ? 0xFFFF : l.left}) {
            put16(out, v);
        }
    }
    return out;
}

std::vector<std::uint8_t> sidedefs(const std::vector<WadSidedef>& sides) {
    std::vector<std::uint8_t> out;
    for (const WadSidedef& s : sides) {
        put16(out, s.xOffset);
        put16(out, s.yOffset);
        putName(out, s.upper);
        putName(out, s.lower);
        putName(out, s.middle);
        put16(out, s.sector);
    }
    return out;
}

std::vector<std::uint8_t> vertexes(const std::vector<WadVertex>& vertexes) {
    std::vector<std::uint8_t> out;
    for (const WadVertex& v : vertexes) {
        put16(out, v.x);
        put16(out, v.y);
    }
    return out;
}

std::vector<std::uint8_t> sectors(const std::vector<WadSector>& sectors) {
    std::vector<std::uint8_t> out;
    for (const WadSector& s : sectors) {
        put16(out, s.floorHeight);
        put16(out, s.ceilingHeight);
        putName(out, s.floorFlat);
        putName(out, s.ceilingFlat);
        put16(out, s.light);
        put16(out, s.special);
        put16(out, s.tag);
    }
    return out;
}

std::vector<std::uint8_t> picture(const WadPicture& p) {
    std::vector<std::uint8_t> out;
    put16(out, p.width);
    put16(out, p.height);
    put16(out, p.leftOffset);
    put16(out, p.topOffset);
    std::vector<std::uint8_t> columns;
    for (std::int32_t x = 0; x < p.width; ++x) {
        put32(out, 8 + 4 * p.width + static_cast<std::int64_t>(columns.size()));
        for (std::int32_t y = 0; y < p.height;) {
            if (!p.opaque(x, y)) {
                ++y;
                continue;
            }
            std::int32_t end = y;
            while (end < p.height && p.opaque(x, end)) {
                ++end;
            }
            columns.push_back(static_cast<std::uint8_t>(y));
            columns.push_back(static_cast<std::uint8_t>(end - y));
            columns.push_back(0);
            for (std::int32_t k = y; k < end; ++k) {
                columns.push_back(p.index(x, k));
            }
            columns.push_back(0);
            y = end;
        }
        columns.push_back(0xFF);
    }
    out.insert(out.end(), columns.begin(), columns.end());
    return out;
}

std::vector<std::uint8_t> patchNames(const std::vector<std::string>& names) {
    std::vector<std::uint8_t> out;
    put32(out, static_cast<std::int64_t>(names.size()));
    for (const std::string& name : names) {
        putName(out, name);
    }
    return out;
}

std::vector<std::uint8_t> textures(const std::vector<WadTextureDef>& textures) {
    std::vector<std::uint8_t> out;
    put32(out, static_cast<std::int64_t>(textures.size()));
    std::vector<std::uint8_t> records;
    const std::size_t start = 4 + 4 * textures.size();
    for (const WadTextureDef& t : textures) {
        put32(out, static_cast<std::int64_t>(start + records.size()));
        putName(records, t.name);
        put32(records, 0); // masked, unused
        put16(records, t.width);
        put16(records, t.height);
        put32(records, 0); // column directory, unused
        put16(records, static_cast<int>(t.patches.size()));
        for (const WadTexturePatch& p : t.patches) {
            put16(records, p.originX);
            put16(records, p.originY);
            put16(records, p.patch);
            put16(records, 1); // step direction, unused
            put16(records, 0); // colour map, unused
        }
    }
    out.insert(out.end(), records.begin(), records.end());
    return out;
}

std::vector<std::uint8_t> palette() {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < 256; ++i) {
        out.push_back(static_cast<std::uint8_t>(i));
        out.push_back(static_cast<std::uint8_t>(255 - i));
        out.push_back(static_cast<std::uint8_t>(i / 2));
    }
    return out;
}

PackedPixel paletteColour(int i) {
    return 0xFF000000u | static_cast<PackedPixel>(i) << 16 |
           static_cast<PackedPixel>(255 - i) << 8 | static_cast<PackedPixel>(i / 2);
}

WadMap squareRoom(const std::string& name) {
    WadMap map;
    map.name = name;
    map.vertexes = {{0, 0}, {256, 0}, {256, 256}, {0, 256}};
    map.sectors = {{0, 128, "FLOOR", "CEIL", 160, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        map.sidedefs.push_back({0, 0, "-", "-", "WALL", 0});
        // Counter-clockwise corners, so the right side faces inwards when walked
        // the other way round.
        map.linedefs.push_back({static_cast<std::uint16_t>((i + 1) % 4),
                                static_cast<std::uint16_t>(i), wadLineBlocking, 0, 0, i,
                                noWadSide});
    }
    map.things = {{128, 128, 90, 1, 7}};
    return map;
}

WadMap doorRooms(std::uint16_t westSpecial, std::uint16_t southSpecial, std::uint16_t northSpecial,
                 std::uint16_t doorSpecial) {
    WadMap map;
    map.name = "MAP01";
    map.vertexes = {{0, 0},   {128, 0},   {144, 0},   {272, 0},
                    {0, 128}, {128, 128}, {144, 128}, {272, 128}};
    map.sectors = {{0, 128, "FLOOR", "CEIL", 160, 0, 0},
                   {0, 0, "FLOOR", "CEIL", 160, 0, 0},
                   {0, 128, "FLOOR", "CEIL", 160, 0, 5}};
    const struct {
        std::uint16_t from, to, special, tag;
        std::int32_t front, back; // sectors
    } lines[] = {
        {1, 0, southSpecial, 0, 0, -1},
        {0, 4, westSpecial, 5, 0, -1},
        {4, 5, northSpecial, 0, 0, -1},
        {5, 1, doorSpecial, 0, 0, 1},
        {2, 1, 0, 0, 1, -1},
        {5, 6, 0, 0, 1, -1},
        {2, 6, doorSpecial, 0, 2, 1},
        {3, 2, 0, 0, 2, -1},
        {7, 3, 0, 0, 2, -1},
        {6, 7, 0, 0, 2, -1},
    };
    for (const auto& l : lines) {
        WadLinedef line{l.from, l.to, 0, l.special, l.tag, noWadSide, noWadSide};
        line.right = static_cast<std::int32_t>(map.sidedefs.size());
        map.sidedefs.push_back(
            {0, 0, "-", "-", l.back < 0 ? "WALL" : "-", static_cast<std::uint16_t>(l.front)});
        if (l.back >= 0) {
            line.left = static_cast<std::int32_t>(map.sidedefs.size());
            map.sidedefs.push_back({0, 0, "DOOR", "-", "-", static_cast<std::uint16_t>(l.back)});
        }
        map.linedefs.push_back(line);
    }
    map.things = {{64, 64, 0, 1, 7}};
    return map;
}

} // namespace wad_bytes

TestWad& TestWad::lump(const std::string& name, std::vector<std::uint8_t> bytes) {
    entries_.push_back({name, std::move(bytes)});
    return *this;
}

TestWad& TestWad::map(const WadMap& map) {
    marker(map.name);
    lump("THINGS", wad_bytes::things(map.things));
    lump("LINEDEFS", wad_bytes::linedefs(map.linedefs));
    lump("SIDEDEFS", wad_bytes::sidedefs(map.sidedefs));
    lump("VERTEXES", wad_bytes::vertexes(map.vertexes));
    for (const char* name : {"SEGS", "SSECTORS", "NODES"}) {
        marker(name);
    }
    lump("SECTORS", wad_bytes::sectors(map.sectors));
    marker("REJECT");
    return marker("BLOCKMAP");
}

std::size_t TestWad::directoryOffset() const {
    std::size_t offset = 12;
    for (const Entry& e : entries_) {
        offset += e.bytes.size();
    }
    return offset;
}

std::vector<std::uint8_t> TestWad::bytes(const char* kind) const {
    std::vector<std::uint8_t> out(kind, kind + 4);
    wad_bytes::put32(out, static_cast<std::int64_t>(entries_.size()));
    wad_bytes::put32(out, static_cast<std::int64_t>(directoryOffset()));
    std::vector<std::uint8_t> directory;
    for (const Entry& e : entries_) {
        // Markers point at where they stand, as the usual tools write them.
        wad_bytes::put32(directory, static_cast<std::int64_t>(out.size()));
        wad_bytes::put32(directory, static_cast<std::int64_t>(e.bytes.size()));
        wad_bytes::putName(directory, e.name);
        out.insert(out.end(), e.bytes.begin(), e.bytes.end());
    }
    out.insert(out.end(), directory.begin(), directory.end());
    return out;
}

void TestWad::write(const std::string& path) const {
    const std::vector<std::uint8_t> data = bytes();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}
