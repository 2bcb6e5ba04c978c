#pragma once

#if defined(__SSE2__)

#include <cstdint>
#include <emmintrin.h>

namespace duskhall {

// Four pixels at a time with SSE2, the baseline of every x86 build (i686 builds pass -msse2).
// Loads and stores are unaligned: callers hand over rows at any address.
namespace {

struct Sse2Lanes {
    using Word = __m128i;
    using Real = __m128;
    static constexpr std::uint32_t count = 4;
    // storeTriples writes one whole vector, this many bytes past the last triple.
    static constexpr std::uint32_t tripleSpill = 4;
    static constexpr bool shufflesBytes = false;

    static Word loadWords(const unsigned char* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    static Word splat(std::uint32_t value) { return _mm_set1_epi32(static_cast<int>(value)); }
    static Real splatReal(float value) { return _mm_set1_ps(value); }
    static Word band(Word a, Word b) { return _mm_and_si128(a, b); }
    static Word bor(Word a, Word b) { return _mm_or_si128(a, b); }
    template <int amount> static Word shiftLeft(Word a) { return _mm_slli_epi32(a, amount); }
    template <int amount> static Word shiftRight(Word a) { return _mm_srli_epi32(a, amount); }
    static Word greater(Word a, Word b) { return _mm_cmpgt_epi32(a, b); }
    static Real add(Real a, Real b) { return _mm_add_ps(a, b); }
    static Real mul(Real a, Real b) { return _mm_mul_ps(a, b); }
    static Word bitsOf(Real a) { return _mm_castps_si128(a); }
    // Exact: only channel values 0 to 255 come through here.
    static Real realOf(Word small) { return _mm_cvtepi32_ps(small); }

    // Transposes four pixels (alpha, blue, green, red) into one vector per colour channel.
    static void loadFloatChannels(const unsigned char* p, Real& red, Real& green, Real& blue) {
        const __m128 p0 = _mm_loadu_ps(reinterpret_cast<const float*>(p));
        const __m128 p1 = _mm_loadu_ps(reinterpret_cast<const float*>(p + 16));
        const __m128 p2 = _mm_loadu_ps(reinterpret_cast<const float*>(p + 32));
        const __m128 p3 = _mm_loadu_ps(reinterpret_cast<const float*>(p + 48));
        const __m128 ab01 = _mm_unpacklo_ps(p0, p1);
        const __m128 gr01 = _mm_unpackhi_ps(p0, p1);
        const __m128 ab23 = _mm_unpacklo_ps(p2, p3);
        const __m128 gr23 = _mm_unpackhi_ps(p2, p3);
        blue = _mm_movehl_ps(ab23, ab01);
        green = _mm_movelh_ps(gr01, gr23);
        red = _mm_movehl_ps(gr23, gr01);
    }
    static Word inPixelOrder(Word w) { return w; }

    static void storeWords(unsigned char* p, Word w) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), w);
    }
    // Eight 16-bit pixels from two vectors of words below 0x10000. The signed pack needs values
    // in signed 16-bit range, so each word is sign-extended from bit 15 first.
    static void storeHalfWords(unsigned char* p, Word low, Word high) {
        const __m128i a = _mm_srai_epi32(_mm_slli_epi32(low, 16), 16);
        const __m128i b = _mm_srai_epi32(_mm_slli_epi32(high, 16), 16);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packs_epi32(a, b));
    }
    // Four 24-bit pixels (words with a zero top byte) gathered into the low twelve bytes.
    static __m128i packTriples(Word w) {
        const __m128i lowWords = _mm_set_epi32(0, -1, 0, -1);
        // Within each 64-bit half: the odd pixel moves down next to the even one.
        const __m128i halves = _mm_or_si128(_mm_and_si128(w, lowWords),
                                            _mm_srli_epi64(_mm_andnot_si128(lowWords, w), 8));
        // The upper half's six bytes move down from byte 8 to byte 6.
        const __m128i lowSix = _mm_set_epi32(0, 0, 0x0000ffff, -1);
        const __m128i upper = _mm_srli_si128(_mm_andnot_si128(lowSix, halves), 2);
        return _mm_or_si128(_mm_and_si128(halves, lowSix), upper);
    }
    // Twelve bytes followed by four bytes of spill that the next store overwrites.
    static void storeTriples(unsigned char* p, Word w) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), packTriples(w));
    }
    // Sixteen 24-bit pixels from four vectors as 48 bytes, in three full stores.
    static void storeTriples4(unsigned char* p, Word w0, Word w1, Word w2, Word w3) {
        const __m128i t0 = packTriples(w0);
        const __m128i t1 = packTriples(w1);
        const __m128i t2 = packTriples(w2);
        const __m128i t3 = packTriples(w3);
        auto* out = reinterpret_cast<__m128i*>(p);
        _mm_storeu_si128(out, _mm_or_si128(t0, _mm_slli_si128(t1, 12)));
        _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(t1, 4), _mm_slli_si128(t2, 8)));
        _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(t2, 8), _mm_slli_si128(t3, 4)));
    }
    // Exactly twelve bytes, for the last step of a run.
    static void storeTriplesExact(unsigned char* p, Word w) {
        const __m128i packed = packTriples(w);
        _mm_storeu_si64(p, packed);
        _mm_storeu_si32(p + 8, _mm_srli_si128(packed, 8));
    }
    // Writes elements 1, 2 and 3 of four float pixels; element 0 of each keeps its value.
    static void storeFloatChannels(unsigned char* p, Real red, Real green, Real blue) {
        const __m128 bg01 = _mm_unpacklo_ps(blue, green);
        const __m128 bg23 = _mm_unpackhi_ps(blue, green);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 4), bg01);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 20), bg01);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 36), bg23);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 52), bg23);
        const __m128i r = _mm_castps_si128(red);
        _mm_storeu_si32(p + 12, r);
        _mm_storeu_si32(p + 28, _mm_shuffle_epi32(r, 1));
        _mm_storeu_si32(p + 44, _mm_shuffle_epi32(r, 2));
        _mm_storeu_si32(p + 60, _mm_shuffle_epi32(r, 3));
    }
};

} // namespace

} // namespace duskhall

#endif
