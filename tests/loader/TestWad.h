#pragma once

#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

#include <cstdint>
#include <string>
#include <vector>

// Builds WAD files byte by byte for the reader's and the importer's checks: the
// lumps in the order added, then the directory.
class TestWad {
  public:
    TestWad& lump(const std::string& name, std::vector<std::uint8_t> bytes);
    TestWad& marker(const std::string& name) { return lump(name, {}); }
    // The marker and the ten lumps of a Doom-format map (the node lumps empty).
    TestWad& map(const WadMap& map);

    std::vector<std::uint8_t> bytes(const char* kind = "PWAD") const;
    void write(const std::string& path) const;

    // Where the directory starts in bytes(), and where its entry i is.
    std::size_t directoryOffset() const;
    std::size_t entryOffset(std::size_t i) const { return directoryOffset() + 16 * i; }

  private:
    struct Entry {
        std::string name;
        std::vector<std::uint8_t> bytes;
    };
    std::vector<Entry> entries_;
};

// Record encoders, the inverse of the reader.
namespace wad_bytes {

void put16(std::vector<std::uint8_t>& out, int value);
void put32(std::vector<std::uint8_t>& out, std::int64_t value);
void putName(std::vector<std::uint8_t>& out, const std::string& name);
// Overwrites four bytes at offset.
void set32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::int64_t value);

std::vector<std::uint8_t> things(const std::vector<WadThing>& things);
std::vector<std::uint8_t> linedefs(const std::vector<WadLinedef>& lines);
std::vector<std::uint8_t> sidedefs(const std::vector<WadSidedef>& sides);
std::vector<std::uint8_t> vertexes(const std::vector<WadVertex>& vertexes);
std::vector<std::uint8_t> sectors(const std::vector<WadSector>& sectors);

// Picture lumps: each run of covered texels of a column becomes one post (tops
// below 255, so no tall pictures).
std::vector<std::uint8_t> picture(const WadPicture& picture);
std::vector<std::uint8_t> patchNames(const std::vector<std::string>& names);
std::vector<std::uint8_t> textures(const std::vector<WadTextureDef>& textures);
// A palette whose colour i is (i, 255 - i, i / 2).
std::vector<std::uint8_t> palette();
PackedPixel paletteColour(int i);

// A square room of one sector, 256 units a side, with the player 1 start in it:
// a small valid map to start from.
WadMap squareRoom(const std::string& name);

// MAP01: room A (x 0-128), a closed door (128-144) and room B (144-272, tagged 5),
// all 128 high; the door's lines (doorSpecial) face the rooms, the three specials
// go on A's west (tag 5), south and north walls; player 1 starts at (64, 64).
WadMap doorRooms(std::uint16_t westSpecial, std::uint16_t southSpecial, std::uint16_t northSpecial,
                 std::uint16_t doorSpecial = 1);

} // namespace wad_bytes
