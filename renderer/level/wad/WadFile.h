#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// A WAD file held in memory: the header, the directory and the lumps' bytes.
// Every directory entry is checked when the file is opened, so a lump's bytes can
// be read without further bounds checks. A problem is one line naming the file,
// the lump and what is wrong, e.g.
//   doom.wad: PLAYPAL: 700 bytes, a palette needs 768

// Limits that keep a hostile file from taking unbounded memory or time.
constexpr std::size_t maxWadFileBytes = std::size_t{256} << 20;
constexpr std::size_t maxWadLumps = 65536;

struct WadLump {
    std::string name; // as wadName gives it: capitals, no padding
    std::size_t offset = 0;
    std::size_t size = 0;
};

// A range of lumps between two markers, the markers left out.
struct WadRange {
    std::size_t first = 0;
    std::size_t end = 0;
};

class WadFile {
  public:
    // Reads the file (at most maxWadFileBytes) and checks header and directory.
    bool open(const std::string& path, std::string& error);
    // The same from bytes in memory; label names them in messages.
    bool openBytes(std::vector<std::uint8_t> bytes, const std::string& label, std::string& error);

    const std::string& label() const { return label_; }
    bool isIwad() const { return iwad_; }
    std::size_t lumpCount() const { return lumps_.size(); }
    const WadLump& lump(std::size_t index) const { return lumps_[index]; }
    const std::uint8_t* lumpData(std::size_t index) const {
        return bytes_.data() + lumps_[index].offset;
    }

    // The index of the last lump of that name (later lumps replace earlier ones),
    // any case; -1 when there is none.
    std::int64_t find(const std::string& name) const;
    // The first lump of that name in [first, end); -1 when there is none.
    std::int64_t findIn(const std::string& name, std::size_t first, std::size_t end) const;

    // Every range from a lump named start (or altStart) to the next named end (or
    // altEnd), in file order. False, with the problem, when a start has no end.
    bool ranges(const std::string& start, const std::string& altStart, const std::string& end,
                const std::string& altEnd, std::vector<WadRange>& found, std::string& error) const;

    // "label: place: what"; label and place are made printable, what is taken as
    // it is (names from the file in it go through printable).
    std::string problem(const std::string& place, const std::string& what) const;

  private:
    bool readDirectory(std::string& error);

    std::string label_;
    bool iwad_ = false;
    std::vector<std::uint8_t> bytes_;
    std::vector<WadLump> lumps_;
    std::unordered_map<std::string, std::size_t> lastByName_;
};
