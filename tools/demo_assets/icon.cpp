// The icon's shapes, laid out on a 256-unit square and scaled to the size asked for.
#include "icon.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"

namespace kelvox::demo {
namespace {

// Signed distance from (x, y) to the square [inset, 256 - inset] with corners of [radius].
float roundedSquareDistance(float x, float y, float inset, float radius) {
  const float half = 128 - inset;
  float qx = std::abs(x - 128) - (half - radius), qy = std::abs(y - 128) - (half - radius);
  return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - radius;
}

}  // namespace

std::vector<uint8_t> paintIcon(int size) {
  const float k = static_cast<float>(size) / 256;  // pixels per unit
  auto at = [k](float x, float y) { return Point{x * k, y * k}; };
  Canvas c(size, size);
  c.verticalGradient({{0, rgb(0x0E1240)}, {0.55f, rgb(0x2C2A78)}, {1, rgb(0x7A4E9C)}});

  // A few fixed stars, large enough to survive at 32 pixels.
  const struct {
    float x, y, r;
  } stars[] = {{62, 58, 5}, {104, 92, 3.5f}, {210, 150, 4}, {48, 128, 3}, {140, 40, 3}};
  for (const auto& s : stars) c.disc(at(s.x, s.y), std::max(s.r * k, 0.6f), rgb(0xDDE4FF), 0.9f, std::max(k, 0.5f));

  // The falling star: a fading trail, a glow and a four-pointed sparkle.
  c.line(at(112, 150), at(176, 86), std::max(10 * k, 1.0f), rgb(0xFFE6B0), 0, 0.55f);
  c.glow(at(176, 86), 58 * k, rgb(0xFFF4DC), 0.9f);
  const float arm = 40, waist = 9;
  c.polygon({at(176, 86 - arm), at(176 + waist, 86 - waist), at(176 + arm, 86), at(176 + waist, 86 + waist),
             at(176, 86 + arm), at(176 - waist, 86 + waist), at(176 - arm, 86), at(176 - waist, 86 - waist)},
            rgb(0xFFFBEE));

  // The dome (a half disc with its slit) on the hill.
  c.disc(at(100, 192), 42 * k, rgb(0x1C1F48), 1, std::max(k, 0.5f));
  c.line(at(100, 152), at(100, 186), std::max(8 * k, 1.0f), rgb(0x0A0C24));
  c.fillBelow([k](float x) { return (196 - 26 * std::cos((x / k - 110) / 90)) * k; }, rgb(0x0A0C24));

  // Alpha: the rounded square, anti-aliased over about a pixel.
  std::vector<uint8_t> rgb = c.rgb8();
  std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float d = roundedSquareDistance((static_cast<float>(x) + 0.5f) / k, (static_cast<float>(y) + 0.5f) / k, 8, 48);
      float alpha = std::clamp(0.5f - d * k, 0.0f, 1.0f);
      size_t i = static_cast<size_t>(y) * size + x;
      std::copy_n(&rgb[i * 3], 3, &rgba[i * 4]);
      rgba[i * 4 + 3] = static_cast<uint8_t>(std::lround(alpha * 255));
    }
  return rgba;
}

}  // namespace kelvox::demo
