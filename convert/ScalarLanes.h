#pragma once

#include <cstdint>
#include <cstring>

namespace duskhall {

// One pixel at a time in plain integer and float registers. Used for the ends of runs that the
// vector lanes do not fill, and on processors without the vector paths. Internal linkage keeps
// each translation unit's copy compiled with that unit's own instruction-set flags.
namespace {

struct ScalarLanes {
    using Word = std::uint32_t;
    using Real = float;
    static constexpr std::uint32_t count = 1;
    static constexpr bool shufflesBytes = false;

    static Word loadWords(const unsigned char* p) {
        // Assembled from bytes so the source word reads little-endian on any host.
        return static_cast<Word>(p[0]) | static_cast<Word>(p[1]) << 8 |
               static_cast<Word>(p[2]) << 16 | static_cast<Word>(p[3]) << 24;
    }
    static Word splat(std::uint32_t value) { return value; }
    static Real splatReal(float value) { return value; }
    static Word band(Word a, Word b) { return a & b; }
    static Word bor(Word a, Word b) { return a | b; }
    template <int amount> static Word shiftLeft(Word a) { return a << amount; }
    template <int amount> static Word shiftRight(Word a) { return a >> amount; }
    // All ones where a > b as signed 32-bit integers.
    static Word greater(Word a, Word b) {
        return static_cast<std::int32_t>(a) > static_cast<std::int32_t>(b) ? ~Word{0} : Word{0};
    }
    static Real add(Real a, Real b) { return a + b; }
    static Real mul(Real a, Real b) { return a * b; }
    static Word bitsOf(Real a) {
        Word bits;
        std::memcpy(&bits, &a, sizeof bits);
        return bits;
    }
    static Real realOf(Word small) { return static_cast<Real>(small); }

    // Reads elements 1, 2 and 3 of one float pixel; element 0 (alpha) is left alone.
    static void loadFloatChannels(const unsigned char* p, Real& red, Real& green, Real& blue) {
        std::memcpy(&blue, p + 4, sizeof blue);
        std::memcpy(&green, p + 8, sizeof green);
        std::memcpy(&red, p + 12, sizeof red);
    }
    static Word inPixelOrder(Word w) { return w; }

    // Writes the low `bytes` bytes of a word, lowest first. Spelled out so the compiler merges
    // them into one store on little-endian hosts.
    template <int bytes> static void storePacked(unsigned char* p, Word w) {
        p[0] = static_cast<unsigned char>(w);
        p[1] = static_cast<unsigned char>(w >> 8);
        if constexpr (bytes >= 3) {
            p[2] = static_cast<unsigned char>(w >> 16);
        }
        if constexpr (bytes == 4) {
            p[3] = static_cast<unsigned char>(w >> 24);
        }
    }
    static void storeFloatChannels(unsigned char* p, Real red, Real green, Real blue) {
        std::memcpy(p + 4, &blue, sizeof blue);
        std::memcpy(p + 8, &green, sizeof green);
        std::memcpy(p + 12, &red, sizeof red);
    }
};

} // namespace

} // namespace duskhall
