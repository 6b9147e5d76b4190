// Keyed row copies of 2- and 4-byte pixels on AVX2 registers, 32 bytes at a time. Only this
// file is compiled for AVX2, and copyKeyedRow calls it only where the processor has AVX2.
#include "platform/surfaces/keyed_row_copy.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <cstddef>
#include <cstring>

namespace kelvox::platform {

__attribute__((target("avx2"))) bool copyKeyedRowAvx2(uint8_t* d, const uint8_t* s, int count, int bytesPerPixel,
                                                      uint32_t key) {
  if (bytesPerPixel != 2 && bytesPerPixel != 4) return false;
  const __m256i k = bytesPerPixel == 2 ? _mm256_set1_epi16(static_cast<short>(key)) : _mm256_set1_epi32(static_cast<int>(key));
  const int perVector = 32 / bytesPerPixel;
  int i = 0;
  for (; i + perVector <= count; i += perVector) {
    const size_t at = static_cast<size_t>(i) * static_cast<size_t>(bytesPerPixel);
    const __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + at));
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + at));
    const __m256i keyed = bytesPerPixel == 2 ? _mm256_cmpeq_epi16(sv, k) : _mm256_cmpeq_epi32(sv, k);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + at), _mm256_blendv_epi8(sv, dv, keyed));
  }
  // The last few pixels one at a time (fewer than one vector).
  for (; i < count; ++i) {
    const size_t at = static_cast<size_t>(i) * static_cast<size_t>(bytesPerPixel);
    uint32_t v = 0;
    std::memcpy(&v, s + at, static_cast<size_t>(bytesPerPixel));
    if (v != key) std::memcpy(d + at, s + at, static_cast<size_t>(bytesPerPixel));
  }
  return true;
}

}  // namespace kelvox::platform

#else

namespace kelvox::platform {
bool copyKeyedRowAvx2(uint8_t*, const uint8_t*, int, int, uint32_t) { return false; }
}  // namespace kelvox::platform

#endif
