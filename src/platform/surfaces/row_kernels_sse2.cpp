// The row kernels on SSE2 registers, which every x86-64 has (the kernels themselves:
// vector_row_kernels.inc).
#include "platform/surfaces/row_kernel_sets.h"

#if defined(__x86_64__)

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/surfaces/row_pixels.h"

namespace kelvox::platform {
namespace {

struct Sse2Lanes {
  using T = __m128i;
  static constexpr SimdPath kPath = SimdPath::Sse2;
  static constexpr size_t kBytes = 16;
  static constexpr size_t kRead24 = 12;  // load24As32 reads its four pixels and no more
  static T load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void store(uint8_t* p, T v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static T zero() { return _mm_setzero_si128(); }
  static T ones() { return _mm_set1_epi32(-1); }
  static T set16(uint16_t x) { return _mm_set1_epi16(static_cast<short>(x)); }
  static T set32(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
  static T and_(T a, T b) { return _mm_and_si128(a, b); }
  static T or_(T a, T b) { return _mm_or_si128(a, b); }
  static T xor_(T a, T b) { return _mm_xor_si128(a, b); }
  static T andnot(T a, T b) { return _mm_andnot_si128(a, b); }  // ~a & b
  static T select(T mask, T a, T b) { return _mm_or_si128(_mm_and_si128(mask, a), _mm_andnot_si128(mask, b)); }
  static T addsU8(T a, T b) { return _mm_adds_epu8(a, b); }
  static T subsU8(T a, T b) { return _mm_subs_epu8(a, b); }
  static T addsU16(T a, T b) { return _mm_adds_epu16(a, b); }
  static T subsU16(T a, T b) { return _mm_subs_epu16(a, b); }
  static T add16(T a, T b) { return _mm_add_epi16(a, b); }
  static T sub16(T a, T b) { return _mm_sub_epi16(a, b); }
  static T mullo16(T a, T b) { return _mm_mullo_epi16(a, b); }
  template <int n> static T slli16(T a) { return _mm_slli_epi16(a, n); }
  template <int n> static T srli16(T a) { return _mm_srli_epi16(a, n); }
  template <int n> static T srai16(T a) { return _mm_srai_epi16(a, n); }
  template <int n> static T slli32(T a) { return _mm_slli_epi32(a, n); }
  template <int n> static T srli32(T a) { return _mm_srli_epi32(a, n); }
  static T cmpeq16(T a, T b) { return _mm_cmpeq_epi16(a, b); }
  static T cmpeq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
  static T unpacklo8(T a, T b) { return _mm_unpacklo_epi8(a, b); }
  static T unpackhi8(T a, T b) { return _mm_unpackhi_epi8(a, b); }
  static T packus16(T a, T b) { return _mm_packus_epi16(a, b); }
  // 32-bit lanes holding 0..0xFFFF to 16-bit lanes: SSE2 packs only signed, so each value is
  // first sign-extended from its low half, which the signed pack then keeps as it is.
  static T pack32to16(T a, T b) {
    return _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(a, 16), 16), _mm_srai_epi32(_mm_slli_epi32(b, 16), 16));
  }
  // Sixteen bytes, each zero-extended into a lane of four registers, in order.
  static void load8As32(const uint8_t* p, T out[4]) {
    const T bytes = load(p), z = zero();
    const T lo = _mm_unpacklo_epi8(bytes, z), hi = _mm_unpackhi_epi8(bytes, z);
    out[0] = _mm_unpacklo_epi16(lo, z);
    out[1] = _mm_unpackhi_epi16(lo, z);
    out[2] = _mm_unpacklo_epi16(hi, z);
    out[3] = _mm_unpackhi_epi16(hi, z);
  }
  // Eight 16-bit words into the lanes of two registers, in order.
  static void load16As32(const uint8_t* p, T out[2]) {
    const T words = load(p), z = zero();
    out[0] = _mm_unpacklo_epi16(words, z);
    out[1] = _mm_unpackhi_epi16(words, z);
  }
  // Four 3-byte pixels: SSE2 has no byte shuffle, so three 32-bit words are split in
  // ordinary registers.
  static T load24As32(const uint8_t* p) {
    uint32_t w[3];
    std::memcpy(w, p, 12);
    return _mm_set_epi32(static_cast<int>(w[2] >> 8), static_cast<int>((w[1] >> 16) | ((w[2] & 0xFF) << 16)),
                         static_cast<int>((w[0] >> 24) | ((w[1] & 0xFFFF) << 8)), static_cast<int>(w[0] & 0xFFFFFF));
  }
};

using V = Sse2Lanes;
#include "platform/surfaces/vector_row_kernels.inc"

}  // namespace

const RowKernels* sse2RowKernels() { return &kVectorRowKernels; }

}  // namespace kelvox::platform

#else

namespace kelvox::platform {
const RowKernels* sse2RowKernels() { return nullptr; }
}  // namespace kelvox::platform

#endif
