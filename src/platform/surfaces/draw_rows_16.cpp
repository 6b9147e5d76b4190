// The portable drawing kernels (row_kernels.h) for the two 16-bit formats, 5:5:5 (depth 15) and
// 5:6:5 (depth 16). Subtract, add and blend work eight pixels per Wide word (four per 64-bit word
// at the row's end): each channel is shifted to the bottom of its 16-bit lane, where a 5- or 6-bit
// field has ten or more free bits above it. The blend gives exactly the per-pixel value d +
// floor((s - d) * weight / 256) in every lane. Conversion is per pixel.
#include "platform/surfaces/packed_lanes.h"
#include "platform/surfaces/row_kernel_sets.h"

namespace kelvox::platform {

namespace {

constexpr uint64_t k5 = 0x001F001F001F001Full;
constexpr uint64_t k6 = 0x003F003F003F003Full;

struct Format555 {
  static constexpr int kRedShift = 10, kGreenShift = 5;
  static constexpr uint64_t kGreen = k5;
  static constexpr int kGreenWidth = 5;
  static constexpr uint16_t kNudge = 0x0001;  // lowest blue bit
  static constexpr uint64_t kColour = 0x7FFF7FFF7FFF7FFFull;  // the top bit is no colour
  static uint16_t pack(uint32_t r, uint32_t g, uint32_t b) { return uint16_t(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)); }
};

struct Format565 {
  static constexpr int kRedShift = 11, kGreenShift = 5;
  static constexpr uint64_t kGreen = k6;
  static constexpr int kGreenWidth = 6;
  static constexpr uint16_t kNudge = 0x0020;  // lowest green bit
  static constexpr uint64_t kColour = ~uint64_t{0};
  static uint16_t pack(uint32_t r, uint32_t g, uint32_t b) { return uint16_t(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3)); }
};

template <typename F>
void convertRow(void* destination, const void* source, int count) {
  lanes::convertEachPixel<2>(destination, source, count, [](uint32_t p) {
    uint16_t v = F::pack((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    if (v == 0 && (p & 0xFFFFFF) != 0) v = F::kNudge;  // a dark colour must not become the key
    return v;
  });
}

// [Combine] (lanes::Add or lanes::Subtract) on the three channels of a word of pixels. A 5:5:5
// pixel's unused top bit comes out 0.
template <typename F, typename Combine>
auto combineWord = [](auto d, auto s) {
  return Combine::apply((d >> F::kRedShift) & k5, (s >> F::kRedShift) & k5, k5, 5) << F::kRedShift |
         Combine::apply((d >> F::kGreenShift) & F::kGreen, (s >> F::kGreenShift) & F::kGreen, F::kGreen,
                        F::kGreenWidth)
             << F::kGreenShift |
         Combine::apply(d & k5, s & k5, k5, 5);
};

template <typename F>
void subtractRow(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), 2 * size_t(count),
                     combineWord<F, lanes::Subtract>);
}

template <typename F>
void addRow(void* destination, const void* source, int count) {
  if (count <= 0) return;
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), 2 * size_t(count),
                     combineWord<F, lanes::Add>);
}

template <typename F>
void blendRow(void* destination, const void* source, int count, int weight) {
  if (count <= 0) return;
  const auto a = static_cast<uint32_t>(weight);
  lanes::forEachWord(static_cast<uint8_t*>(destination), static_cast<const uint8_t*>(source), 2 * size_t(count),
                     [a](auto d, auto s) {
                       if (lanes::allZero(s & F::kColour)) return d;  // a word of keyed pixels
                       decltype(d) mixed =
                           lanes::blend((d >> F::kRedShift) & k5, (s >> F::kRedShift) & k5, k5, a) << F::kRedShift |
                           lanes::blend((d >> F::kGreenShift) & F::kGreen, (s >> F::kGreenShift) & F::kGreen,
                                        F::kGreen, a)
                               << F::kGreenShift |
                           lanes::blend(d & k5, s & k5, k5, a);
                       decltype(d) drawn = lanes::nonZero16(s & F::kColour);  // the key: no colour bit set
                       return (mixed & drawn) | (d & ~drawn);
                     });
}

}  // namespace

const DrawRowKernels kDrawRows15 = {15, convertRow<Format555>, subtractRow<Format555>, addRow<Format555>,
                               blendRow<Format555>};
const DrawRowKernels kDrawRows16 = {16, convertRow<Format565>, subtractRow<Format565>, addRow<Format565>,
                               blendRow<Format565>};

}  // namespace kelvox::platform
