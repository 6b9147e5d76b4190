// The row kernels on AVX2 registers (the kernels themselves: vector_row_kernels.inc). Only this
// file is compiled for AVX2, and rowKernels() hands its kernels out only where the processor
// has AVX2, so the program still runs on any x86-64.
#include "platform/surfaces/row_kernel_sets.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/surfaces/row_pixels.h"

// Everything below, and nothing included above, is compiled for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace kelvox::platform {
namespace {

struct Avx2Lanes {
  using T = __m256i;
  static constexpr SimdPath kPath = SimdPath::Avx2;
  static constexpr size_t kBytes = 32;
  static constexpr size_t kRead24 = 32;  // load24As32 reads a whole register for its 24 bytes
  static T load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
  static void store(uint8_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
  static T zero() { return _mm256_setzero_si256(); }
  static T ones() { return _mm256_set1_epi32(-1); }
  static T set16(uint16_t x) { return _mm256_set1_epi16(static_cast<short>(x)); }
  static T set32(uint32_t x) { return _mm256_set1_epi32(static_cast<int>(x)); }
  static T and_(T a, T b) { return _mm256_and_si256(a, b); }
  static T or_(T a, T b) { return _mm256_or_si256(a, b); }
  static T xor_(T a, T b) { return _mm256_xor_si256(a, b); }
  static T andnot(T a, T b) { return _mm256_andnot_si256(a, b); }  // ~a & b
  static T select(T mask, T a, T b) { return _mm256_blendv_epi8(b, a, mask); }
  static T addsU8(T a, T b) { return _mm256_adds_epu8(a, b); }
  static T subsU8(T a, T b) { return _mm256_subs_epu8(a, b); }
  static T addsU16(T a, T b) { return _mm256_adds_epu16(a, b); }
  static T subsU16(T a, T b) { return _mm256_subs_epu16(a, b); }
  static T add16(T a, T b) { return _mm256_add_epi16(a, b); }
  static T sub16(T a, T b) { return _mm256_sub_epi16(a, b); }
  static T mullo16(T a, T b) { return _mm256_mullo_epi16(a, b); }
  template <int n> static T slli16(T a) { return _mm256_slli_epi16(a, n); }
  template <int n> static T srli16(T a) { return _mm256_srli_epi16(a, n); }
  template <int n> static T srai16(T a) { return _mm256_srai_epi16(a, n); }
  template <int n> static T slli32(T a) { return _mm256_slli_epi32(a, n); }
  template <int n> static T srli32(T a) { return _mm256_srli_epi32(a, n); }
  static T cmpeq16(T a, T b) { return _mm256_cmpeq_epi16(a, b); }
  static T cmpeq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
  // Unpacks and packs work within each 128-bit half, so an unpack followed by a pack keeps
  // the bytes in order.
  static T unpacklo8(T a, T b) { return _mm256_unpacklo_epi8(a, b); }
  static T unpackhi8(T a, T b) { return _mm256_unpackhi_epi8(a, b); }
  static T packus16(T a, T b) { return _mm256_packus_epi16(a, b); }
  // 32-bit lanes holding 0..0xFFFF to 16-bit lanes, the halves' results put back in order.
  static T pack32to16(T a, T b) { return _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8); }
  static __m128i load128(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static __m128i load64(const uint8_t* p) { return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)); }
  // 32 bytes, each zero-extended into a lane of four registers, in order.
  static void load8As32(const uint8_t* p, T out[4]) {
    for (int k = 0; k < 4; ++k) out[k] = _mm256_cvtepu8_epi32(load64(p + 8 * k));
  }
  // Sixteen 16-bit words into the lanes of two registers, in order.
  static void load16As32(const uint8_t* p, T out[2]) {
    out[0] = _mm256_cvtepu16_epi32(load128(p));
    out[1] = _mm256_cvtepu16_epi32(load128(p + 16));
  }
  // Eight 3-byte pixels: the words holding pixels 0-3 and 4-7 go to the two halves, where a
  // byte shuffle gives each pixel a lane of its own with a zero top byte.
  static T load24As32(const uint8_t* p) {
    const T halves = _mm256_permutevar8x32_epi32(load(p), _mm256_setr_epi32(0, 1, 2, 3, 3, 4, 5, 6));
    const T spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,  //
                                      0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_shuffle_epi8(halves, spread);
  }
};

using V = Avx2Lanes;
#include "platform/surfaces/vector_row_kernels.inc"

}  // namespace
}  // namespace kelvox::platform

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace kelvox::platform {
const RowKernels* avx2RowKernels() { return &kVectorRowKernels; }
}  // namespace kelvox::platform

#else

namespace kelvox::platform {
const RowKernels* avx2RowKernels() { return nullptr; }
}  // namespace kelvox::platform

#endif
