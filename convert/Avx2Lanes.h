#pragma once

#if defined(__AVX2__)

#include <cstdint>
#include <immintrin.h>

namespace duskhall {

// Eight pixels at a time with AVX2. Only the translation unit built with -mavx2 includes this;
// the choice to call into it is made once at start-up from the processor's feature bits.
namespace {

struct Avx2Lanes {
    using Word = __m256i;
    using Real = __m256;
    static constexpr std::uint32_t count = 8;
    static constexpr std::uint32_t tripleSpill = 8;
    // Whole-byte moves within each pixel can be done with one byte shuffle.
    static constexpr bool shufflesBytes = true;

    static Word loadWords(const unsigned char* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    static Word splat(std::uint32_t value) { return _mm256_set1_epi32(static_cast<int>(value)); }
    static Real splatReal(float value) { return _mm256_set1_ps(value); }
    static Word band(Word a, Word b) { return _mm256_and_si256(a, b); }
    static Word bor(Word a, Word b) { return _mm256_or_si256(a, b); }
    template <int amount> static Word shiftLeft(Word a) { return _mm256_slli_epi32(a, amount); }
    template <int amount> static Word shiftRight(Word a) { return _mm256_srli_epi32(a, amount); }
    static Word greater(Word a, Word b) { return _mm256_cmpgt_epi32(a, b); }
    static Real add(Real a, Real b) { return _mm256_add_ps(a, b); }
    static Real mul(Real a, Real b) { return _mm256_mul_ps(a, b); }
    static Word bitsOf(Real a) { return _mm256_castps_si256(a); }
    static Real realOf(Word small) { return _mm256_cvtepi32_ps(small); }

    // Transposes eight pixels within each 128-bit half. The channel vectors come out in pixel
    // order 0 2 4 6 | 1 3 5 7; inPixelOrder puts the finished words back in order, which costs
    // one permute per eight pixels instead of one per channel.
    static void loadFloatChannels(const unsigned char* p, Real& red, Real& green, Real& blue) {
        const __m256 p01 = _mm256_loadu_ps(reinterpret_cast<const float*>(p));
        const __m256 p23 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 32));
        const __m256 p45 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 64));
        const __m256 p67 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 96));
        const __m256d abLow = _mm256_castps_pd(_mm256_unpacklo_ps(p01, p23));
        const __m256d grLow = _mm256_castps_pd(_mm256_unpackhi_ps(p01, p23));
        const __m256d abHigh = _mm256_castps_pd(_mm256_unpacklo_ps(p45, p67));
        const __m256d grHigh = _mm256_castps_pd(_mm256_unpackhi_ps(p45, p67));
        blue = _mm256_castpd_ps(_mm256_unpackhi_pd(abLow, abHigh));
        green = _mm256_castpd_ps(_mm256_unpacklo_pd(grLow, grHigh));
        red = _mm256_castpd_ps(_mm256_unpackhi_pd(grLow, grHigh));
    }
    static Word inPixelOrder(Word w) {
        return _mm256_permutevar8x32_epi32(w, _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7));
    }

    static void storeWords(unsigned char* p, Word w) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), w);
    }
    // Sixteen 16-bit pixels; words are below 0x10000, so the unsigned saturating pack is exact.
    static void storeHalfWords(unsigned char* p, Word low, Word high) {
        const __m256i packed = _mm256_packus_epi32(low, high);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), _mm256_permute4x64_epi64(packed, 0xd8));
    }
    // Eight 24-bit pixels (words with a zero top byte) gathered into the low 24 bytes.
    static __m256i packTriples(Word w) {
        return _mm256_permutevar8x32_epi32(gatherTriples<0, 1, 2>(w),
                                           _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7));
    }
    // 24 bytes followed by 8 bytes of spill that the next store overwrites.
    static void storeTriples(unsigned char* p, Word w) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), packTriples(w));
    }
    // 32 pixels from four vectors as 96 bytes, in three full stores.
    static void storeTriples4(unsigned char* p, Word w0, Word w1, Word w2, Word w3) {
        storeGatheredTriples4(p, gatherTriples<0, 1, 2>(w0), gatherTriples<0, 1, 2>(w1),
                              gatherTriples<0, 1, 2>(w2), gatherTriples<0, 1, 2>(w3));
    }
    // Bytes from0, from1 and from2 of each pixel, gathered into three bytes per pixel at the
    // bottom of each 128-bit half (dwords 0-2 and 4-6). With whole-byte channels this both
    // places the channels and drops the fourth byte in one shuffle.
    template <int from0, int from1, int from2> static Word gatherTriples(Word v) {
        const __m256i control = _mm256_setr_epi8(
            from0, from1, from2, from0 + 4, from1 + 4, from2 + 4, from0 + 8, from1 + 8, from2 + 8,
            from0 + 12, from1 + 12, from2 + 12, -1, -1, -1, -1, //
            from0, from1, from2, from0 + 4, from1 + 4, from2 + 4, from0 + 8, from1 + 8, from2 + 8,
            from0 + 12, from1 + 12, from2 + 12, -1, -1, -1, -1);
        return _mm256_shuffle_epi8(v, control);
    }
    // Four gathered vectors as 96 bytes: one dword permute per vector lines the pixels up so
    // that blends can cut them into three whole stores.
    static void storeGatheredTriples4(unsigned char* p, Word g0, Word g1, Word g2, Word g3) {
        const __m256i a =
            _mm256_permutevar8x32_epi32(g0, _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 0, 0));
        const __m256i b =
            _mm256_permutevar8x32_epi32(g1, _mm256_setr_epi32(2, 4, 5, 6, 0, 0, 0, 1));
        const __m256i c =
            _mm256_permutevar8x32_epi32(g2, _mm256_setr_epi32(5, 6, 0, 0, 0, 1, 2, 4));
        const __m256i d =
            _mm256_permutevar8x32_epi32(g3, _mm256_setr_epi32(0, 0, 0, 1, 2, 4, 5, 6));
        auto* out = reinterpret_cast<__m256i*>(p);
        _mm256_storeu_si256(out, _mm256_blend_epi32(a, b, 0xc0));
        _mm256_storeu_si256(out + 1, _mm256_blend_epi32(b, c, 0xf0));
        _mm256_storeu_si256(out + 2, _mm256_blend_epi32(c, d, 0xfc));
    }
    // Moves whole bytes within each pixel: byte k of the result is source byte from[k], or zero
    // where from[k] is negative.
    template <int from0, int from1, int from2, int from3> static Word shuffleBytes(Word v) {
        const __m256i control = _mm256_setr_epi8(
            from0, from1, from2, from3, from0 + 4, from1 + 4, from2 + 4, from3 + 4, from0 + 8,
            from1 + 8, from2 + 8, from3 + 8, from0 + 12, from1 + 12, from2 + 12, from3 + 12, //
            from0, from1, from2, from3, from0 + 4, from1 + 4, from2 + 4, from3 + 4, from0 + 8,
            from1 + 8, from2 + 8, from3 + 8, from0 + 12, from1 + 12, from2 + 12, from3 + 12);
        return _mm256_shuffle_epi8(v, control);
    }
    // Exactly 24 bytes, for the last step of a run.
    static void storeTriplesExact(unsigned char* p, Word w) {
        const __m256i packed = packTriples(w);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm256_castsi256_si128(packed));
        _mm_storeu_si64(p + 16, _mm256_extracti128_si256(packed, 1));
    }
    static void storeFloatChannels(unsigned char* p, Real red, Real green, Real blue) {
        const __m256 bgLow = _mm256_unpacklo_ps(blue, green);  // pixels 0 1 | 4 5
        const __m256 bgHigh = _mm256_unpackhi_ps(blue, green); // pixels 2 3 | 6 7
        const __m128 bg01 = _mm256_castps256_ps128(bgLow);
        const __m128 bg23 = _mm256_castps256_ps128(bgHigh);
        const __m128 bg45 = _mm256_extractf128_ps(bgLow, 1);
        const __m128 bg67 = _mm256_extractf128_ps(bgHigh, 1);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 4), bg01);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 20), bg01);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 36), bg23);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 52), bg23);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 68), bg45);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 84), bg45);
        _mm_storel_pi(reinterpret_cast<__m64*>(p + 100), bg67);
        _mm_storeh_pi(reinterpret_cast<__m64*>(p + 116), bg67);
        const __m128i r0123 = _mm_castps_si128(_mm256_castps256_ps128(red));
        const __m128i r4567 = _mm_castps_si128(_mm256_extractf128_ps(red, 1));
        _mm_storeu_si32(p + 12, r0123);
        _mm_storeu_si32(p + 28, _mm_shuffle_epi32(r0123, 1));
        _mm_storeu_si32(p + 44, _mm_shuffle_epi32(r0123, 2));
        _mm_storeu_si32(p + 60, _mm_shuffle_epi32(r0123, 3));
        _mm_storeu_si32(p + 76, r4567);
        _mm_storeu_si32(p + 92, _mm_shuffle_epi32(r4567, 1));
        _mm_storeu_si32(p + 108, _mm_shuffle_epi32(r4567, 2));
        _mm_storeu_si32(p + 124, _mm_shuffle_epi32(r4567, 3));
    }
};

} // namespace

} // namespace duskhall

#endif
