// Asks the processor once which vector paths it runs (GCC's and Clang's cpu-feature built-ins).
#include "platform/surfaces/simd_paths.h"

namespace kelvox::platform {

bool simdPathAvailable(SimdPath path) {
  switch (path) {
    case SimdPath::Portable: return true;
#if defined(__x86_64__)
    case SimdPath::Sse2: return true;  // part of x86-64 itself
    case SimdPath::Avx2: {
      static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
      }();
      return avx2;
    }
#else
    case SimdPath::Sse2:
    case SimdPath::Avx2: return false;
#endif
  }
  return false;
}

SimdPath bestSimdPath() {
  static const SimdPath best = simdPathAvailable(SimdPath::Avx2)   ? SimdPath::Avx2
                               : simdPathAvailable(SimdPath::Sse2) ? SimdPath::Sse2
                                                                   : SimdPath::Portable;
  return best;
}

const char* simdPathName(SimdPath path) {
  switch (path) {
    case SimdPath::Portable: return "portable";
    case SimdPath::Sse2: return "sse2";
    case SimdPath::Avx2: return "avx2";
  }
  return "?";
}

}  // namespace kelvox::platform
