// The row operations of depths 15, 16 and 32 on AVX2 registers (the arithmetic:
// row_kernels.inc). Only this file is compiled for AVX2, and pixelRowOpsFor hands its functions
// out only where the processor has AVX2, so the program still runs on any x86-64.
#include "graphics/row_ops_by_depth.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

// Everything below, and nothing included above, is compiled for AVX2.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace kelvox::graphics {
namespace {

struct Avx2Lanes {
  using T = __m256i;
  static constexpr size_t kBytes = 32;
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
};

using V = Avx2Lanes;
#include "graphics/row_kernels.inc"

const PixelRowOps* const kAvx2Sets[3] = {&kVectorRowOps15, &kVectorRowOps16, &kVectorRowOps32};

}  // namespace
}  // namespace kelvox::graphics

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace kelvox::graphics {

const PixelRowOps* avx2RowOps(int depth) {
  switch (depth) {
    case 15: return kAvx2Sets[0];
    case 16: return kAvx2Sets[1];
    case 32: return kAvx2Sets[2];
    default: return nullptr;
  }
}

}  // namespace kelvox::graphics

#else

namespace kelvox::graphics {
const PixelRowOps* avx2RowOps(int) { return nullptr; }
}  // namespace kelvox::graphics

#endif
