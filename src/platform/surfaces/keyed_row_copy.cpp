// Keyed row copies: the portable and SSE2 loops, and the choice of path (AVX2:
// keyed_row_copy_avx2.cpp).
#include "platform/surfaces/keyed_row_copy.h"

#include <cstring>

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace kelvox::platform {

namespace {

template <int kBytes>
void copyPixels(uint8_t* d, const uint8_t* s, int count, uint32_t key) {
  for (int i = 0; i < count; ++i, d += kBytes, s += kBytes) {
    uint32_t v = 0;
    std::memcpy(&v, s, kBytes);  // little-endian: the raw value
    if (v != key) std::memcpy(d, s, kBytes);
  }
}

void copyPortable(uint8_t* d, const uint8_t* s, int count, int bytesPerPixel, uint32_t key) {
  switch (bytesPerPixel) {
    case 1: copyPixels<1>(d, s, count, key); break;
    case 2: copyPixels<2>(d, s, count, key); break;
    case 3: copyPixels<3>(d, s, count, key); break;
    case 4: copyPixels<4>(d, s, count, key); break;
    default: break;
  }
}

#if defined(__x86_64__)
// Sixteen bytes at a time: lanes equal to the key keep the destination.
bool copySse2(uint8_t* d, const uint8_t* s, int count, int bytesPerPixel, uint32_t key) {
  if (bytesPerPixel != 2 && bytesPerPixel != 4) return false;
  const __m128i k = bytesPerPixel == 2 ? _mm_set1_epi16(static_cast<short>(key)) : _mm_set1_epi32(static_cast<int>(key));
  const int perVector = 16 / bytesPerPixel;
  int i = 0;
  for (; i + perVector <= count; i += perVector) {
    const size_t at = static_cast<size_t>(i) * static_cast<size_t>(bytesPerPixel);
    const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + at));
    const __m128i keyed = bytesPerPixel == 2 ? _mm_cmpeq_epi16(sv, k) : _mm_cmpeq_epi32(sv, k);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + at), _mm_or_si128(_mm_and_si128(keyed, dv), _mm_andnot_si128(keyed, sv)));
  }
  const size_t at = static_cast<size_t>(i) * static_cast<size_t>(bytesPerPixel);
  copyPortable(d + at, s + at, count - i, bytesPerPixel, key);
  return true;
}
#endif

}  // namespace

void copyKeyedRow(SimdPath path, uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel,
                  uint32_t key) {
  if (count <= 0) return;
  if (bytesPerPixel < 4 && (key >> (8 * bytesPerPixel)) != 0) {  // wider than a pixel: nothing is the key
    std::memcpy(destination, source, static_cast<size_t>(count) * static_cast<size_t>(bytesPerPixel));
    return;
  }
  switch (path) {
    case SimdPath::Avx2:
      if (copyKeyedRowAvx2(destination, source, count, bytesPerPixel, key)) return;
      break;
#if defined(__x86_64__)
    case SimdPath::Sse2:
      if (copySse2(destination, source, count, bytesPerPixel, key)) return;
      break;
#endif
    default: break;
  }
  copyPortable(destination, source, count, bytesPerPixel, key);
}

void copyKeyedRow(uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel, uint32_t key) {
  static const SimdPath best = bestSimdPath();
  copyKeyedRow(best, destination, source, count, bytesPerPixel, key);
}

}  // namespace kelvox::platform
