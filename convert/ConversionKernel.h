#pragma once

#include "convert/PixelLayouts.h"
#include "convert/ScalarLanes.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace duskhall {

// The whole converter family, written once over a "lanes" type that supplies loads, stores and
// a handful of integer and float operations on one or several pixels at a time. ScalarLanes
// gives the one-pixel reference form; the vector lanes run the same formulas on 4 or 8 pixels.
// Everything here has internal linkage, so the copy compiled for one instruction set is never
// swapped for another by the linker.
namespace {

// Moves a field left (positive amount) or right (negative amount).
template <class L, int amount> typename L::Word shifted(typename L::Word w) {
    if constexpr (amount > 0) {
        return L::template shiftLeft<amount>(w);
    } else if constexpr (amount < 0) {
        return L::template shiftRight<-amount>(w);
    } else {
        return w;
    }
}

constexpr std::uint32_t fieldMask(int bits, int position) {
    return ((std::uint32_t{1} << bits) - 1u) << position;
}

// Top `bits` bits of the 8-bit channel whose highest bit is `sourceTop - 1`, truncated and
// moved to `position`.
template <class L, int sourceTop, int bits, int position>
typename L::Word truncatedChannel(typename L::Word v) {
    return L::band(shifted<L, position - (sourceTop - bits)>(v),
                   L::splat(fieldMask(bits, position)));
}

// The float quantiser: zero for bit patterns b <= 0 (negatives, -0.0, NaNs with the sign set),
// full scale for b >= 0x3f7fffff (0.99999994 and above, +inf, other NaNs), otherwise the top
// `bits` bits of the mantissa of x + 1.0f. The sum is taken in single precision; the threshold
// keeps it below 2.0, where its exponent would change. The result lands at `position`.
template <class L, int bits, int position> typename L::Word quantisedChannel(typename L::Real x) {
    using Word = typename L::Word;
    const Word b = L::bitsOf(x);
    const Word positive = L::greater(b, L::splat(0));
    const Word saturated = L::greater(b, L::splat(0x3f7ffffe));
    const Word sum = L::bitsOf(L::add(x, L::splatReal(1.0f)));
    constexpr int mantissaTop = 23;
    const Word field = L::band(L::bor(sum, saturated),
                               L::band(positive, L::splat(fieldMask(bits, mantissaTop - bits))));
    return shifted<L, position - (mantissaTop - bits)>(field);
}

// 1/255 rounded to single precision (bit pattern 0x3b808081); a multiplication by it stands in
// for the division and gives exactly 0.0 and 1.0 at the ends.
constexpr float reciprocal255 = 0x1.010102p-8f;

// Which source byte (blue 0, green 1, red 2) lands in byte `outByte` of a layout whose channels
// are all whole bytes; -128 where none does (a byte shuffle then writes zero).
template <class Layout> constexpr int sourceByteAt(int outByte) {
    return Layout::redPosition == 8 * outByte     ? 2
           : Layout::greenPosition == 8 * outByte ? 1
           : Layout::bluePosition == 8 * outByte  ? 0
                                                  : -128;
}

template <class Layout> constexpr bool wholeByteChannels() {
    return Layout::redBits == 8 && Layout::greenBits == 8 && Layout::blueBits == 8;
}

template <class L, class Layout>
typename L::Word packedWord(TrueColourSource, const unsigned char* p) {
    const typename L::Word v = L::loadWords(p);
    if constexpr (L::shufflesBytes && wholeByteChannels<Layout>()) {
        // The same placement as the shifts and masks below, as one byte shuffle.
        return L::template shuffleBytes<sourceByteAt<Layout>(0), sourceByteAt<Layout>(1),
                                        sourceByteAt<Layout>(2), sourceByteAt<Layout>(3)>(v);
    }
    return L::bor(L::bor(truncatedChannel<L, 24, Layout::redBits, Layout::redPosition>(v),
                         truncatedChannel<L, 16, Layout::greenBits, Layout::greenPosition>(v)),
                  truncatedChannel<L, 8, Layout::blueBits, Layout::bluePosition>(v));
}

template <class L, class Layout> typename L::Word packedWord(FloatSource, const unsigned char* p) {
    typename L::Real red, green, blue;
    L::loadFloatChannels(p, red, green, blue);
    return L::inPixelOrder(
        L::bor(L::bor(quantisedChannel<L, Layout::redBits, Layout::redPosition>(red),
                      quantisedChannel<L, Layout::greenBits, Layout::greenPosition>(green)),
               quantisedChannel<L, Layout::blueBits, Layout::bluePosition>(blue)));
}

template <class L> void storeAsFloat(const unsigned char* p, unsigned char* q) {
    using Word = typename L::Word;
    const Word v = L::loadWords(p);
    const Word byte = L::splat(0xff);
    const typename L::Real k = L::splatReal(reciprocal255);
    L::storeFloatChannels(q, L::mul(L::realOf(L::band(L::template shiftRight<16>(v), byte)), k),
                          L::mul(L::realOf(L::band(L::template shiftRight<8>(v), byte)), k),
                          L::mul(L::realOf(L::band(v, byte)), k));
}

// One pixel through the scalar formulas; finishes what the vector loops leave over.
template <class Source, class Layout>
void convertOnePixel(const unsigned char* p, unsigned char* q) {
    if constexpr (Layout::bytes == 16) {
        storeAsFloat<ScalarLanes>(p, q);
    } else {
        ScalarLanes::storePacked<Layout::bytes>(q, packedWord<ScalarLanes, Layout>(Source{}, p));
    }
}

// Converts as many pixels as whole vector steps allow and returns how many that was.
template <class L, class Source, class Layout>
std::uint32_t convertVectorSteps(const unsigned char* p, unsigned char* q, std::uint32_t count) {
    constexpr std::uint32_t n = L::count;
    // Byte offsets in size_t: a long run of float pixels passes 4 GB on 64-bit hosts.
    constexpr std::size_t in = Source::bytes;
    constexpr std::size_t out = Layout::bytes;
    std::uint32_t i = 0;
    if constexpr (out == 16) {
        for (; count - i >= n; i += n) {
            storeAsFloat<L>(p + in * i, q + out * i);
        }
    } else if constexpr (out == 4) {
        for (; count - i >= n; i += n) {
            L::storeWords(q + out * i, packedWord<L, Layout>(Source{}, p + in * i));
        }
    } else if constexpr (out == 2) {
        for (; count - i >= 2 * n; i += 2 * n) {
            L::storeHalfWords(q + out * i, packedWord<L, Layout>(Source{}, p + in * i),
                              packedWord<L, Layout>(Source{}, p + in * (i + n)));
        }
    } else {
        static_assert(out == 3, "packed layouts are 2, 3 or 4 bytes");
        // The spill of each store must still land inside the destination run.
        constexpr std::uint32_t spillPixels = (L::tripleSpill + 2) / 3;
        if constexpr (L::shufflesBytes && wholeByteChannels<Layout>() &&
                      std::is_same_v<Source, TrueColourSource>) {
            // One byte shuffle per vector both places the channels and drops the fourth byte.
            const auto gathered = [&](std::size_t at) {
                return L::template gatherTriples<sourceByteAt<Layout>(0), sourceByteAt<Layout>(1),
                                                 sourceByteAt<Layout>(2)>(
                    L::loadWords(p + in * at));
            };
            for (; count - i >= 4 * n; i += 4 * n) {
                L::storeGatheredTriples4(q + out * i, gathered(i), gathered(i + n),
                                         gathered(i + 2 * n), gathered(i + 3 * n));
            }
        }
        for (; count - i >= 4 * n; i += 4 * n) {
            L::storeTriples4(q + out * i, packedWord<L, Layout>(Source{}, p + in * i),
                             packedWord<L, Layout>(Source{}, p + in * (i + n)),
                             packedWord<L, Layout>(Source{}, p + in * (i + 2 * n)),
                             packedWord<L, Layout>(Source{}, p + in * (i + 3 * n)));
        }
        for (; count - i >= n + spillPixels; i += n) {
            L::storeTriples(q + out * i, packedWord<L, Layout>(Source{}, p + in * i));
        }
        if (count - i >= n) {
            L::storeTriplesExact(q + out * i, packedWord<L, Layout>(Source{}, p + in * i));
            i += n;
        }
    }
    return i;
}

// Converts `count` pixels: vector steps with lanes L where available, then single pixels.
template <class L, class Source, class Layout>
void convertPixels(const void* source, void* destination, std::uint32_t count) {
    const auto* p = static_cast<const unsigned char*>(source);
    auto* q = static_cast<unsigned char*>(destination);
    std::uint32_t i = 0;
    if constexpr (L::count > 1) {
        i = convertVectorSteps<L, Source, Layout>(p, q, count);
    }
    for (; i < count; ++i) {
        convertOnePixel<Source, Layout>(p + std::size_t{Source::bytes} * i,
                                        q + std::size_t{Layout::bytes} * i);
    }
}

} // namespace

} // namespace duskhall
