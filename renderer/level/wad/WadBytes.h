#pragma once

#include <cstdint>
#include <string>

// Little-endian fields of WAD records, read from bytes already checked to be there.

inline std::uint16_t wadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::int16_t wadI16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(wadU16(p));
}

inline std::int32_t wadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

// A name field of eight bytes: up to the first NUL, in capitals, since the format
// compares names without case.
inline std::string wadName(const std::uint8_t* p) {
    std::string name;
    for (int i = 0; i < 8 && p[i] != 0; ++i) {
        const char c = static_cast<char>(p[i]);
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}

// A name as given by a caller, in the form wadName gives.
inline std::string canonicalWadName(const std::string& text) {
    std::string name = text;
    for (char& c : name) {
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}
