// The portable drawing kernels (row_kernels.h) for depth 8 (one byte RRRGGGBB per pixel). Subtract
// and add work sixteen pixels per Wide word (eight per 64-bit word at the row's end), each channel
// in its own byte lanes; conversion is per pixel; the blend is a plain copy.
#include <cstring>

#include "platform/surfaces/packed_lanes.h"
#include "platform/surfaces/row_kernel_sets.h"

namespace kelvox::platform {

namespace {

// Channel fields moved to the bottom of every byte lane: red 3 bits (from bit 5), green 3
// bits (from bit 2), blue 2 bits (from bit 0). Each leaves at least five free bits above.
constexpr uint64_t kRed = 0x0707070707070707ull;
constexpr uint64_t kGreen = 0x0707070707070707ull;
constexpr uint64_t kBlue = 0x0303030303030303ull;

uint8_t convertPixel(uint32_t p) {
  uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
  uint32_t v = (r & 0xE0) | ((g >> 3) & 0x1C) | (b >> 6);
  if (v == 0 && (p & 0xFFFFFF) != 0) v = 0x20;  // a dark colour must not become the key
  return static_cast<uint8_t>(v);
}

void convertRow(void* destination, const void* source, int count) {
  lanes::convertEachPixel<1>(destination, source, count, convertPixel);
}

// [Combine] (lanes::Add or lanes::Subtract) on the three channels of a word of pixels.
template <typename Combine>
auto combineWord = [](auto d, auto s) {
  return Combine::apply((d >> 5) & kRed, (s >> 5) & kRed, kRed, 3) << 5 |
         Combine::apply((d >> 2) & kGreen, (s >> 2) & kGreen, kGreen, 3) << 2 |
         Combine::apply(d & kBlue, s & kBlue, kBlue, 2);
};

void subtractRow(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), size_t(count),
                     combineWord<lanes::Subtract>);
}

void addRow(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), size_t(count),
                     combineWord<lanes::Add>);
}

// Kept: depth 8 never blended; a weighted sprite there is drawn as its bytes, key and all.
void blendRow(void* destination, const void* source, int count, int /*weight*/) {
  if (count <= 0) return;
  std::memmove(destination, source, size_t(count));
}

}  // namespace

const DrawRowKernels kDrawRows8 = {8, convertRow, subtractRow, addRow, blendRow};

}  // namespace kelvox::platform
