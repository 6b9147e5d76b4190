// Screen row kernels: the portable loops, the SSE2 lanes, and the choice of kernel by pixel
// format and path (the AVX2 lanes: screen_rows_avx2.cpp; the arithmetic:
// screen_row_kernels.inc).
#include "platform/surfaces/screen_rows.h"

#include <cstddef>
#include <cstring>

#include "platform/surfaces/screen_row_pixels.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kelvox::platform {

namespace {

void portable8(uint32_t* d, const uint8_t* s, int n) { screen_rows::portableRow<8>(d, s, n > 0 ? size_t(n) : 0); }
void portable15(uint32_t* d, const uint8_t* s, int n) { screen_rows::portableRow<15>(d, s, n > 0 ? size_t(n) : 0); }
void portable16(uint32_t* d, const uint8_t* s, int n) { screen_rows::portableRow<16>(d, s, n > 0 ? size_t(n) : 0); }
void portable24(uint32_t* d, const uint8_t* s, int n) { screen_rows::portableRow<24>(d, s, n > 0 ? size_t(n) : 0); }
void portable32(uint32_t* d, const uint8_t* s, int n) { screen_rows::portableRow<32>(d, s, n > 0 ? size_t(n) : 0); }

ScreenRowKernel portableKernel(int depth) {
  switch (depth) {
    case 8: return portable8;
    case 15: return portable15;
    case 16: return portable16;
    case 24: return portable24;
    case 32: return portable32;
    default: return nullptr;
  }
}

// The display depth of [f], or 0 for a format that is none of the five.
int depthOf(const PixelFormat& f) {
  for (int depth : {8, 15, 16, 24, 32})
    if (f == pixelFormatForDepth(depth)) return depth;
  return 0;
}

#if defined(__x86_64__)
struct Sse2Lanes {
  using T = __m128i;
  static constexpr size_t kBytes = 16;
  static constexpr size_t kRead24 = 12;  // load24As32 reads its four pixels and no more
  static T load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
  static void store(uint8_t* p, T v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
  static T set32(uint32_t x) { return _mm_set1_epi32(static_cast<int>(x)); }
  static T and_(T a, T b) { return _mm_and_si128(a, b); }
  static T or_(T a, T b) { return _mm_or_si128(a, b); }
  static T mullo16(T a, T b) { return _mm_mullo_epi16(a, b); }
  template <int n> static T slli32(T a) { return _mm_slli_epi32(a, n); }
  template <int n> static T srli32(T a) { return _mm_srli_epi32(a, n); }
  // Sixteen bytes, each zero-extended into a lane of four registers, in order.
  static void load8As32(const uint8_t* p, T out[4]) {
    const T bytes = load(p), zero = _mm_setzero_si128();
    const T lo = _mm_unpacklo_epi8(bytes, zero), hi = _mm_unpackhi_epi8(bytes, zero);
    out[0] = _mm_unpacklo_epi16(lo, zero);
    out[1] = _mm_unpackhi_epi16(lo, zero);
    out[2] = _mm_unpacklo_epi16(hi, zero);
    out[3] = _mm_unpackhi_epi16(hi, zero);
  }
  // Eight 16-bit words into the lanes of two registers, in order.
  static void load16As32(const uint8_t* p, T out[2]) {
    const T words = load(p), zero = _mm_setzero_si128();
    out[0] = _mm_unpacklo_epi16(words, zero);
    out[1] = _mm_unpackhi_epi16(words, zero);
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

namespace sse2 {
using V = Sse2Lanes;
#include "platform/surfaces/screen_row_kernels.inc"
}  // namespace sse2
#endif

}  // namespace

#if defined(__x86_64__)
ScreenRowKernel sse2ScreenRowKernel(int depth) { return sse2::vectorScreenRowKernel(depth); }
#else
ScreenRowKernel sse2ScreenRowKernel(int) { return nullptr; }
#endif

ScreenRowKernel screenRowKernelFor(const PixelFormat& format, SimdPath path) {
  const int depth = depthOf(format);
  if (depth == 0 || !simdPathAvailable(path)) return nullptr;
  ScreenRowKernel vector = nullptr;
  if (path == SimdPath::Avx2) vector = avx2ScreenRowKernel(depth);
  if (path == SimdPath::Sse2) vector = sse2ScreenRowKernel(depth);
  return vector != nullptr ? vector : portableKernel(depth);
}

ScreenRowKernel screenRowKernelFor(const PixelFormat& format) {
  return screenRowKernelFor(format, bestSimdPath());
}

}  // namespace kelvox::platform
