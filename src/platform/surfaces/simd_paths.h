// The vector instruction sets the pixel loops may use, chosen at run time. The program is built
// for plain x86-64 (SSE2), so wider paths are compiled as separate functions and taken only
// where the processor reports them; other machines get the portable loops alone.
//
// Tests run every available path on the same rows, so each path is named and can be asked for.
#pragma once

namespace kelvox::platform {

enum class SimdPath {
  Portable,  // plain C++ (on x86-64 the compiler's SSE2 code)
  Sse2,      // hand-written SSE2: every x86-64 has it
  Avx2,      // 256-bit integer vectors, where the processor has them
};

// Whether [path] can run here: built for this machine's architecture and reported by the
// processor.
bool simdPathAvailable(SimdPath path);

// The widest available path; decided once.
SimdPath bestSimdPath();

// "portable", "sse2" or "avx2", for test names and logs.
const char* simdPathName(SimdPath path);

}  // namespace kelvox::platform
