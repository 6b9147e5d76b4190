// The portable drawing kernels (row_kernels.h) for depth 24 (bytes blue, green, red) and depth 32
// (0x00RRGGBB). Every byte is one channel with maximum 255, so subtract and add run over the row's
// bytes sixteen at a time (a Wide word), each byte in a 16-bit lane of its own (even bytes, then
// odd bytes); at depth 32 the top byte is then cleared. The blend is per pixel at depth 24 (a pixel
// straddles words) and four pixels per Wide word at depth 32, which converts four at a time too.
#include "platform/surfaces/packed_lanes.h"
#include "platform/surfaces/row_kernel_sets.h"

namespace kelvox::platform {

namespace {

constexpr uint64_t kBytes = 0x00FF00FF00FF00FFull;     // every other byte at the bottom of a lane
constexpr uint64_t kColour32 = 0x00FFFFFF00FFFFFFull;  // depth 32 without the top bytes

// [Combine] (lanes::Add or lanes::Subtract) on every byte of a word.
template <typename Combine>
auto combineBytes = [](auto d, auto s) {
  return Combine::apply(d & kBytes, s & kBytes, kBytes, 8) |
         Combine::apply((d >> 8) & kBytes, (s >> 8) & kBytes, kBytes, 8) << 8;
};

template <typename Combine>
auto combinePixels32 = [](auto d, auto s) { return combineBytes<Combine>(d, s) & kColour32; };

// Blue, green, red: the source pixel's low three bytes.
void convertRow24(void* destination, const void* source, int count) {
  lanes::convertEachPixel<3>(destination, source, count, [](uint32_t p) { return p; });
}

// Source pixels and depth 32 share the layout: a copy that clears the top bytes.
void convertRow32(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), 4 * size_t(count),
                     [](auto, auto s) { return s & kColour32; });
}

template <int kBytesPerPixel, const auto& kCombine>
void combineRow(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source),
                     size_t(kBytesPerPixel) * size_t(count), kCombine);
}

void blendRow24(void* destination, const void* source, int count, int weight) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  const auto a = static_cast<uint32_t>(weight);
  for (int i = 0; i < count; ++i, d += 3, s += 3) {
    if ((s[0] | s[1] | s[2]) == 0) continue;  // the key
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>((d[c] * (256 - a) + s[c] * a) >> 8);
  }
}

template <typename W>
W blendPixels32(W d, W s, uint32_t a) {
  W drawn = lanes::nonZero24of32(s);  // the key: low 24 bits zero
  if (lanes::allZero(drawn)) return d;
  W mixed = (lanes::blend(d & kBytes, s & kBytes, kBytes, a) |
                    lanes::blend((d >> 8) & kBytes, (s >> 8) & kBytes, kBytes, a) << 8) &
                   kColour32;
  return (mixed & drawn) | (d & ~drawn);
}

void blendRow32(void* destination, const void* source, int count, int weight) {
  if (count <= 0) return;
  const auto a = static_cast<uint32_t>(weight);
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), 4 * size_t(count),
                     [a](auto d, auto s) { return blendPixels32(d, s, a); });
}

}  // namespace

const DrawRowKernels kDrawRows24 = {24, convertRow24, combineRow<3, combineBytes<lanes::Subtract>>,
                               combineRow<3, combineBytes<lanes::Add>>, blendRow24};
const DrawRowKernels kDrawRows32 = {32, convertRow32, combineRow<4, combinePixels32<lanes::Subtract>>,
                               combineRow<4, combinePixels32<lanes::Add>>, blendRow32};

}  // namespace kelvox::platform
