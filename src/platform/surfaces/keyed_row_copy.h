// One row of a keyed copy: every source pixel that is not the colour key replaces the
// destination pixel, the others leave it as it was. The 2- and 4-byte formats test many pixels
// per vector (SSE2 or AVX2, whichever the processor runs; simd_paths.h); 1- and 3-byte pixels
// go one at a time.
#pragma once

#include <cstdint>

#include "platform/surfaces/simd_paths.h"

namespace kelvox::platform {

// Copies the pixels of [count] pixels of [bytesPerPixel] bytes (1 to 4) from [source] to
// [destination] that differ from the raw value [key]. The rows must not overlap. Nothing is
// written for a [count] of 0 or less.
void copyKeyedRow(uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel, uint32_t key);

// The same on instruction set [path], for tests; [path] must be available (simd_paths.h).
void copyKeyedRow(SimdPath path, uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel,
                  uint32_t key);

// The AVX2 rows of 2- and 4-byte pixels (keyed_row_copy_avx2.cpp); false when not built for
// this machine or [bytesPerPixel] has none, and then nothing is written.
bool copyKeyedRowAvx2(uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel, uint32_t key);

}  // namespace kelvox::platform
