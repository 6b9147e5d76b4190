// The smaller pictures. Keyed ones leave their background exactly black; additive ones are light
// on black; the vignette is near white where it should leave the picture alone.
#include "sprites.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kelvox::demo {
namespace {

// Signed distance from (x, y) to a [w] × [h] rectangle with corners of [radius] (negative inside).
float roundedRectDistance(float x, float y, float w, float h, float radius) {
  float qx = std::abs(x - w / 2) - (w / 2 - radius), qy = std::abs(y - h / 2) - (h / 2 - radius);
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

// The glyphs of the logo as strokes in a box 0.62 wide and 1 high.
using Stroke = std::pair<Point, Point>;
std::vector<Stroke> glyph(char letter) {
  switch (letter) {
    case 'K': return {{{0, 0}, {0, 1}}, {{0.62f, 0}, {0, 0.58f}}, {{0.2f, 0.4f}, {0.62f, 1}}};
    case 'E': return {{{0, 0}, {0, 1}}, {{0, 0}, {0.58f, 0}}, {{0, 0.5f}, {0.48f, 0.5f}}, {{0, 1}, {0.58f, 1}}};
    case 'L': return {{{0, 0}, {0, 1}}, {{0, 1}, {0.56f, 1}}};
    case 'V': return {{{0, 0}, {0.31f, 1}}, {{0.31f, 1}, {0.62f, 0}}};
    case 'X': return {{{0, 0}, {0.62f, 1}}, {{0.62f, 0}, {0, 1}}};
    default: {  // 'O' as a polygon of short strokes
      std::vector<Stroke> ring;
      for (int i = 0; i < 48; ++i) {
        float a0 = 6.2832f * static_cast<float>(i) / 48, a1 = 6.2832f * static_cast<float>(i + 1) / 48;
        ring.push_back({{0.31f + 0.31f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)},
                        {0.31f + 0.31f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)}});
      }
      return ring;
    }
  }
}

void sparkle(Canvas& c, Point at, float arm, float intensity) {
  c.glow(at, arm * 0.45f, rgb(0xFFFFFF), intensity);
  c.line({at.x - arm, at.y}, {at.x, at.y}, 1.6f, rgb(0xE6ECFF), 0, intensity);
  c.line({at.x, at.y}, {at.x + arm, at.y}, 1.6f, rgb(0xE6ECFF), intensity, 0);
  c.line({at.x, at.y - arm}, {at.x, at.y}, 1.6f, rgb(0xE6ECFF), 0, intensity);
  c.line({at.x, at.y}, {at.x, at.y + arm}, 1.6f, rgb(0xE6ECFF), intensity, 0);
}

}  // namespace

Canvas paintLogo() {
  Canvas c(400, 120);
  const float height = 64, width = 0.62f * height, gap = 20, top = 30;
  const std::string word = "KELVOX";
  float x = (400 - (6 * width + 5 * gap)) / 2;
  // Three passes: a wide blue halo, a narrower pale one, then the letters' light itself.
  const struct {
    float width, alpha;
    uint32_t colour;
  } passes[] = {{18, 0.10f, 0x4050E0}, {9, 0.30f, 0x90A0FF}, {4.5f, 1.0f, 0xFFF4DC}};
  for (const auto& pass : passes) {
    float left = x;
    for (char letter : word) {
      for (const auto& [a, b] : glyph(letter))
        c.line({left + a.x * height, top + a.y * height}, {left + b.x * height, top + b.y * height}, pass.width,
               rgb(pass.colour), pass.alpha, pass.alpha);
      left += width + gap;
    }
  }
  sparkle(c, {x + 4 * (width + gap) + width * 0.9f, top - 4}, 18, 0.9f);  // above the O
  return c;
}

Canvas paintCharacter(bool lookingUp) {
  Canvas c(240, 420);
  const Colour coat = rgb(0x1B1D3C), skin = rgb(0x2B2545), hair = rgb(0x15142F), scarf = rgb(0x8A3052),
               rim = rgb(0xA9B0F0);
  // Outlines through hand-placed points, smoothed; the head turns up about the neck to look
  // at the sky.
  const Point neck{120, 146};
  const float tilt = lookingUp ? -0.28f : 0;
  // The coat's outline runs on below the picture, so its lower corners stay square.
  c.polygon(smoothOutline({{112, 148}, {84, 158}, {56, 170}, {42, 196}, {40, 260}, {38, 340}, {36, 470},
                           {204, 470}, {202, 340}, {200, 260}, {198, 196}, {184, 170}, {156, 158}, {128, 148}}),
            coat);
  c.polygon({{111, 120}, {129, 120}, {130, 158}, {110, 158}}, skin);
  c.polygon(rotated(smoothOutline({{90, 92}, {94, 68}, {110, 55}, {132, 56}, {148, 70}, {152, 94}, {146, 118},
                                   {132, 134}, {116, 137}, {100, 128}, {91, 112}}),
                    neck, tilt),
            skin);
  c.polygon(rotated(smoothOutline({{74, 118}, {70, 84}, {82, 54}, {106, 38}, {134, 38}, {158, 52}, {168, 82},
                                   {166, 118}, {158, 142}, {150, 132}, {148, 100}, {138, 80}, {118, 74},
                                   {100, 84}, {94, 112}, {92, 140}, {82, 140}}),
                    neck, tilt),
            hair);
  // The scarf: wound round the neck, one end hanging, one blown to the right.
  c.polygon(smoothOutline({{112, 190}, {120, 168}, {128, 170}, {124, 250}, {112, 262}, {104, 250}}), scarf);
  c.polygon(smoothOutline({{146, 156}, {188, 164}, {224, 178}, {234, 196}, {206, 192}, {162, 178}}, 8), scarf);
  c.polygon(smoothOutline({{88, 152}, {120, 144}, {152, 152}, {156, 168}, {120, 178}, {84, 168}}), scarf);
  // Light from the upper right: a rim where the shape ends towards it.
  auto inside = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= c.width() || y >= c.height()) return false;
    Colour p = c.at(x, y);
    return p.r + p.g + p.b > 0.05f;
  };
  Canvas lit = c;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (inside(x, y) && !inside(x + 3, y - 2)) lit.blend(x, y, rim, 0.7f);
  // A sheen along the hair.
  const Point crown = rotated({{118, 74}}, neck, tilt)[0];
  for (float a = -2.3f; a < -0.8f; a += 0.005f)
    lit.blend(static_cast<int>(crown.x + 30 * std::cos(a)), static_cast<int>(crown.y - 6 + 24 * std::sin(a)),
              rgb(0x4C4A86), 0.8f);
  return lit;
}

Canvas paintGlow() {
  Canvas c(256, 256);
  c.glow({128, 128}, 128, rgb(0xFFB060), 0.9f, 2.2f);
  return c;
}

Canvas paintSparkle() {
  Canvas c(48, 48);
  sparkle(c, {24, 24}, 22, 1.0f);
  return c;
}

Canvas paintVignette() {
  Canvas c(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      float dx = (static_cast<float>(x) - 320) / 320, dy = (static_cast<float>(y) - 240) / 240;
      float d = std::min(1.0f, (dx * dx + dy * dy) / 2);
      // Subtracting leaves a channel alone at 1 and darkens it by (1 - value) elsewhere.
      c.at(x, y) = {1 - 0.4f * d, 1 - 0.36f * d, 1 - 0.24f * d};
    }
  return c;
}

Canvas paintRoundedBox(int width, int height, uint32_t top, uint32_t bottom, uint32_t border) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height), radius = std::min(10.0f, h / 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float d = roundedRectDistance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, w, h, radius);
      if (d > 0) continue;  // outside: stays black, the transparent key
      Colour fill = mix(rgb(top), rgb(bottom), static_cast<float>(y) / h);
      c.at(x, y) = mix(fill, rgb(border), std::clamp(2 + d, 0.0f, 1.0f) * 0.9f);
    }
  return c;
}

Canvas paintHighlight(int width, int height) {
  Canvas c(width, height);
  const float w = static_cast<float>(width), h = static_cast<float>(height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      float d = roundedRectDistance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, w, h, 10);
      if (d <= 0) c.at(x, y) = mix(rgb(0x34406E), rgb(0x1A2040), static_cast<float>(y) / h);
    }
  return c;
}

Canvas paintLockedFrame() {
  Canvas c = paintRoundedBox(160, 120, 0x151A38, 0x0E1128, 0x3A4070);
  const Colour lock = rgb(0x3F4678);
  c.polygon({{64, 56}, {96, 56}, {96, 82}, {64, 82}}, lock);
  for (float a = 3.1416f; a <= 6.2832f; a += 0.01f)
    c.disc({80 + 11 * std::cos(a), 56 + 12 * std::sin(a)}, 2.5f, lock, 1, 1);
  return c;
}

Canvas paintGauge() {
  Canvas c(200, 14);
  for (int y = 0; y < 14; ++y)
    for (int x = 0; x < 200; ++x) {
      float d = roundedRectDistance(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, 200, 14, 6);
      if (d <= 0) c.at(x, y) = mix(rgb(0x3050C0), rgb(0xFFC860), static_cast<float>(x) / 200);
    }
  return c;
}

}  // namespace kelvox::demo
