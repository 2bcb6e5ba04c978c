#include "renderer/level/wad/WadFile.h"

#include "renderer/level/LevelFile.h"
#include "renderer/level/wad/WadBytes.h"

#include <algorithm>
#include <fstream>

namespace {

constexpr std::size_t headerBytes = 12;
constexpr std::size_t entryBytes = 16;

std::string bytesText(std::size_t n) {
    return std::to_string(n) + " bytes";
}

} // namespace

bool WadFile::open(const std::string& path, std::string& error) {
    label_ = path;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = problem("file", "cannot be opened");
        return false;
    }
    const std::streamoff length = in.tellg();
    if (length < 0) {
        error = problem("file", "cannot be read");
        return false;
    }
    if (static_cast<std::uint64_t>(length) > maxWadFileBytes) {
        error = problem("file", bytesText(static_cast<std::size_t>(length)) + ", more than the " +
                                    bytesText(maxWadFileBytes) + " a WAD may have here");
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), length)) {
        error = problem("file", "cannot be read");
        return false;
    }
    return openBytes(std::move(bytes), path, error);
}

bool WadFile::openBytes(std::vector<std::uint8_t> bytes, const std::string& label,
                        std::string& error) {
    label_ = label;
    bytes_ = std::move(bytes);
    lumps_.clear();
    lastByName_.clear();
    if (bytes_.size() > maxWadFileBytes) {
        error = problem("file", bytesText(bytes_.size()) + ", more than the " +
                                    bytesText(maxWadFileBytes) + " a WAD may have here");
        return false;
    }
    if (!readDirectory(error)) {
        lumps_.clear();
        lastByName_.clear();
        return false;
    }
    return true;
}

bool WadFile::readDirectory(std::string& error) {
    if (bytes_.size() < headerBytes) {
        error = problem("header", bytesText(bytes_.size()) + ", a WAD header needs 12");
        return false;
    }
    const std::string kind(bytes_.begin(), bytes_.begin() + 4);
    if (kind != "IWAD" && kind != "PWAD") {
        error = problem("header", "starts with " + printable(kind) + ", not IWAD or PWAD");
        return false;
    }
    iwad_ = kind == "IWAD";
    const std::int32_t count = wadI32(&bytes_[4]);
    const std::int32_t start = wadI32(&bytes_[8]);
    if (count < 0 || static_cast<std::size_t>(count) > maxWadLumps) {
        error = problem("header", std::to_string(count) + " lumps, the limit is 0 to " +
                                      std::to_string(maxWadLumps));
        return false;
    }
    const std::size_t directoryBytes = static_cast<std::size_t>(count) * entryBytes;
    if (start < 0 || static_cast<std::size_t>(start) < headerBytes ||
        static_cast<std::size_t>(start) > bytes_.size() ||
        bytes_.size() - static_cast<std::size_t>(start) < directoryBytes) {
        error = problem("directory",
                        "at " + std::to_string(start) + " with " + std::to_string(count) +
                            " entries is not inside the file of " + bytesText(bytes_.size()));
        return false;
    }
    const std::size_t directory = static_cast<std::size_t>(start);
    lumps_.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < lumps_.size(); ++i) {
        const std::uint8_t* entry = &bytes_[directory + i * entryBytes];
        const std::int32_t offset = wadI32(entry);
        const std::int32_t size = wadI32(entry + 4);
        WadLump& lump = lumps_[i];
        lump.name = wadName(entry + 8);
        const std::string place = lump.name + " (lump " + std::to_string(i) + ")";
        if (offset < 0 || size < 0) {
            error = problem(place, "offset " + std::to_string(offset) + " and size " +
                                       std::to_string(size) + " cannot be negative");
            return false;
        }
        lump.offset = static_cast<std::size_t>(offset);
        lump.size = static_cast<std::size_t>(size);
        if (lump.offset > bytes_.size() || bytes_.size() - lump.offset < lump.size) {
            error = problem(place, bytesText(lump.size) + " at " + std::to_string(offset) +
                                       " go beyond the end of the file (" +
                                       bytesText(bytes_.size()) + ")");
            return false;
        }
        // Markers have no bytes and may sit anywhere; a lump with bytes never
        // overlaps the header or the directory.
        const bool overlapsDirectory =
            lump.offset < directory + directoryBytes && directory < lump.offset + lump.size;
        if (lump.size > 0 && (lump.offset < headerBytes || overlapsDirectory)) {
            error = problem(place, "overlaps the " +
                                       std::string(overlapsDirectory ? "directory" : "header"));
            return false;
        }
        lastByName_[lump.name] = i;
    }
    // Lumps may share their bytes exactly (some tools store a repeated lump once),
    // but two lumps that overlap in part are a damaged directory.
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < lumps_.size(); ++i) {
        if (lumps_[i].size > 0) {
            order.push_back(i);
        }
    }
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return lumps_[a].offset != lumps_[b].offset ? lumps_[a].offset < lumps_[b].offset
                                                    : lumps_[a].size < lumps_[b].size;
    });
    for (std::size_t k = 1; k < order.size(); ++k) {
        const WadLump& a = lumps_[order[k - 1]];
        const WadLump& b = lumps_[order[k]];
        const bool same = a.offset == b.offset && a.size == b.size;
        if (!same && b.offset < a.offset + a.size) {
            error = problem(b.name + " (lump " + std::to_string(order[k]) + ")",
                            "overlaps " + printable(a.name) + " (lump " +
                                std::to_string(order[k - 1]) + ") in part");
            return false;
        }
    }
    return true;
}

std::int64_t WadFile::find(const std::string& name) const {
    const auto it = lastByName_.find(canonicalWadName(name));
    return it == lastByName_.end() ? -1 : static_cast<std::int64_t>(it->second);
}

std::int64_t WadFile::findIn(const std::string& name, std::size_t first, std::size_t end) const {
    const std::string wanted = canonicalWadName(name);
    for (std::size_t i = first; i < std::min(end, lumps_.size()); ++i) {
        if (lumps_[i].name == wanted) {
            return static_cast<std::int64_t>(i);
        }
    }
    return -1;
}

bool WadFile::ranges(const std::string& start, const std::string& altStart, const std::string& end,
                     const std::string& altEnd, std::vector<WadRange>& found,
                     std::string& error) const {
    found.clear();
    for (std::size_t i = 0; i < lumps_.size(); ++i) {
        if (lumps_[i].name != start && lumps_[i].name != altStart) {
            continue;
        }
        std::size_t j = i + 1;
        while (j < lumps_.size() && lumps_[j].name != end && lumps_[j].name != altEnd) {
            ++j;
        }
        if (j == lumps_.size()) {
            error = problem(lumps_[i].name + " (lump " + std::to_string(i) + ")",
                            "has no " + end + " after it");
            return false;
        }
        found.push_back({i + 1, j});
        i = j;
    }
    return true;
}

std::string WadFile::problem(const std::string& place, const std::string& what) const {
    return printable(label_) + ": " + printable(place) + ": " + what;
}
