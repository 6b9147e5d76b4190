// The row kernel tables: the portable kernels, each vector table completed with them, and the
// choice of the fastest table this processor runs (the vector kernels: row_kernels_sse2.cpp,
// row_kernels_avx2.cpp).
#include "platform/surfaces/row_kernels.h"

#include <cstddef>
#include <cstring>

#include "platform/surfaces/row_kernel_sets.h"
#include "platform/surfaces/row_pixels.h"
#include "platform/surfaces/surface.h"

namespace kelvox::platform {

namespace {

template <int kDepth>
void portableScreenRow(uint32_t* d, const uint8_t* s, int count) {
  row_pixels::screenRow<kDepth>(d, s, count > 0 ? static_cast<size_t>(count) : 0);
}

template <int kBytes>
void portableKeyedRow(uint8_t* d, const uint8_t* s, int count, uint32_t key) {
  row_pixels::keyedRow<kBytes>(d, s, count, key);
}

// A key wider than a pixel matches no pixel: the keyed copy is a plain one.
template <int kBytes>
void plainRow(uint8_t* d, const uint8_t* s, int count, uint32_t) {
  if (count > 0) std::memcpy(d, s, static_cast<size_t>(count) * kBytes);
}

RowKernels portableKernels() {
  return {SimdPath::Portable,
          {portableScreenRow<8>, portableScreenRow<15>, portableScreenRow<16>, portableScreenRow<24>,
           portableScreenRow<32>},
          {portableKeyedRow<1>, portableKeyedRow<2>, portableKeyedRow<3>, portableKeyedRow<4>},
          {kDrawRows8, kDrawRows15, kDrawRows16, kDrawRows24, kDrawRows32}};
}

// [vector]'s kernels, the portable ones where it has none; the portable table for a set that
// is not built here.
RowKernels completed(SimdPath path, const RowKernels* vector, const RowKernels& portable) {
  RowKernels k = portable;
  k.path = path;
  if (vector == nullptr) return k;
  for (size_t i = 0; i < 5; ++i) {
    if (vector->toScreen[i] != nullptr) k.toScreen[i] = vector->toScreen[i];
    if (vector->draw[i].depth != 0) k.draw[i] = vector->draw[i];
  }
  for (size_t i = 0; i < 4; ++i)
    if (vector->copyKeyed[i] != nullptr) k.copyKeyed[i] = vector->copyKeyed[i];
  return k;
}

// The display depth of [f], or 0 for a format that is none of the five.
int depthOf(const PixelFormat& f) {
  for (int depth : kDisplayDepths)
    if (f == pixelFormatForDepth(depth)) return depth;
  return 0;
}

}  // namespace

const RowKernels* rowKernels(SimdPath path) {
  static const RowKernels portable = portableKernels();
  static const RowKernels sse2 = completed(SimdPath::Sse2, sse2RowKernels(), portable);
  static const RowKernels avx2 = completed(SimdPath::Avx2, avx2RowKernels(), portable);
  if (!simdPathAvailable(path)) return nullptr;
  switch (path) {
    case SimdPath::Portable: return &portable;
    case SimdPath::Sse2: return &sse2;
    case SimdPath::Avx2: return &avx2;
  }
  return nullptr;
}

const RowKernels& rowKernels() {
  static const RowKernels& best = *rowKernels(bestSimdPath());
  return best;
}

ScreenRowKernel screenRowKernelFor(const PixelFormat& format, SimdPath path) {
  const int depth = depthOf(format);
  const RowKernels* kernels = rowKernels(path);
  if (depth == 0 || kernels == nullptr) return nullptr;
  return kernels->toScreen[displayDepthIndex(depth)];
}

ScreenRowKernel screenRowKernelFor(const PixelFormat& format) { return screenRowKernelFor(format, bestSimdPath()); }

namespace {

KeyedRowKernel keyedKernel(const RowKernels& kernels, int bytesPerPixel, uint32_t key) {
  if (bytesPerPixel < 1 || bytesPerPixel > 4) return nullptr;
  if (bytesPerPixel < 4 && (key >> (8 * bytesPerPixel)) != 0) {
    constexpr KeyedRowKernel kPlain[3] = {plainRow<1>, plainRow<2>, plainRow<3>};
    return kPlain[bytesPerPixel - 1];
  }
  return kernels.copyKeyed[bytesPerPixel - 1];
}

}  // namespace

KeyedRowKernel keyedRowKernelFor(int bytesPerPixel, uint32_t key) { return keyedKernel(rowKernels(), bytesPerPixel, key); }

void copyKeyedRow(SimdPath path, uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel,
                  uint32_t key) {
  const RowKernels* kernels = rowKernels(path);
  KeyedRowKernel copy = kernels != nullptr ? keyedKernel(*kernels, bytesPerPixel, key) : nullptr;
  if (copy != nullptr && count > 0) copy(destination, source, count, key);
}

void copyKeyedRow(uint8_t* destination, const uint8_t* source, int count, int bytesPerPixel, uint32_t key) {
  copyKeyedRow(bestSimdPath(), destination, source, count, bytesPerPixel, key);
}

}  // namespace kelvox::platform
