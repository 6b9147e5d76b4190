// The full-screen pictures: skies as gradients with stars, hills as curves, the observatory as
// a silhouette. Seeds are fixed, so every build paints the same pixels.
#include "landscapes.h"

#include <algorithm>
#include <cmath>

namespace kelvox::demo {
namespace {

constexpr float kW = kScreenWidth, kH = kScreenHeight;

// The far and the near ridge of the hill the observatory stands on (y of the ridge at x).
float farRidge(float x) { return 318 + 22 * std::sin(x / 97 + 0.6f) + 9 * std::sin(x / 31 + 2.0f); }
float nearRidge(float x) {
  float dx = (x - 190) / 260;
  return 352 + 70 * dx * dx + 6 * std::sin(x / 23);  // a rounded hilltop around x = 190
}

// The observatory: a drum and a dome standing on the ground at (cx, ground), [scale] 1 = 100 px
// wide; [light] > 0 gives the window and the dome's slit a warm glow.
void observatory(Canvas& c, float cx, float ground, float scale, Colour colour, float light) {
  float half = 50 * scale, drum = 46 * scale;
  c.polygon({{cx - half, ground + 4}, {cx - half, ground - drum}, {cx + half, ground - drum}, {cx + half, ground + 4}},
            colour);
  c.disc({cx, ground - drum}, half * 0.96f, colour, 1, 1.2f);
  if (light > 0) {
    Colour warm = rgb(0xFFC46B);
    float wy = ground - drum * 0.55f;
    c.polygon({{cx - 7 * scale, wy - 9 * scale}, {cx + 7 * scale, wy - 9 * scale}, {cx + 7 * scale, wy + 9 * scale},
               {cx - 7 * scale, wy + 9 * scale}},
              mix(rgb(0x8A5030), warm, 0.6f), light);
    c.glow({cx, wy}, 40 * scale, warm, 0.35f * light);
    // The slit of the dome, open to the sky.
    c.line({cx + 4 * scale, ground - drum - 6 * scale}, {cx + 18 * scale, ground - drum - 40 * scale}, 5 * scale,
           rgb(0x3A3560), light);
  }
}

// A crescent: the disc less a slightly offset disc, by coverage (nothing painted over the sky).
void moon(Canvas& c, Point at, float radius) {
  c.glow(at, radius * 4, rgb(0xFFF3C8), 0.25f);
  const Point shadow{at.x + radius * 0.45f, at.y - radius * 0.25f};
  for (int y = static_cast<int>(at.y - radius - 2); y <= static_cast<int>(at.y + radius + 2); ++y)
    for (int x = static_cast<int>(at.x - radius - 2); x <= static_cast<int>(at.x + radius + 2); ++x) {
      float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
      float lit = std::clamp(radius - std::hypot(px - at.x, py - at.y) + 0.5f, 0.0f, 1.0f);
      float dark = std::clamp(radius * 0.92f - std::hypot(px - shadow.x, py - shadow.y) + 0.5f, 0.0f, 1.0f);
      c.blend(x, y, rgb(0xFFF6D8), lit * (1 - dark));
    }
}

// The lights of a village in the valley: small warm points along the far ridge's foot.
void villageLights(Canvas& c, Random& random, float brightness) {
  for (int i = 0; i < 40; ++i) {
    float x = random.range(330, 640), y = random.range(345, 380);
    c.glow({x, y}, random.range(2, 4.5f), rgb(0xFFC070), brightness * random.range(0.5f, 1.0f), 1.2f);
  }
}

// Thin horizontal clouds lit from below.
void clouds(Canvas& c, Random& random, int count, float top, float bottom, Colour tint, float alpha) {
  for (int i = 0; i < count; ++i) {
    float y = random.range(top, bottom), x = random.range(-100, kW), length = random.range(120, 320);
    for (float t = 0; t < length; t += 2) {
      float fade = std::sin(t / length * 3.14159f);
      c.disc({x + t, y + 3 * std::sin(t / 40)}, 3 + 4 * fade, tint, alpha * fade * 0.35f, 6);
    }
  }
}

Canvas nightSky() {
  Canvas c(kScreenWidth, kScreenHeight);
  c.verticalGradient({{0, rgb(0x04061A)}, {0.45f, rgb(0x111A45)}, {0.7f, rgb(0x2E2A63)}, {0.85f, rgb(0x4D3570)}});
  return c;
}

}  // namespace

Canvas paintTitle(bool dawn) {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(dawn ? 77 : 7);
  if (dawn) {
    c.verticalGradient({{0, rgb(0x16244F)}, {0.35f, rgb(0x4E4A8C)}, {0.58f, rgb(0xC77B94)}, {0.72f, rgb(0xFFB27A)}});
    c.stars(random, 60, [](float) { return 150.0f; }, 0.6f);
    c.glow({470, 330}, 300, rgb(0xFFD9A0), 0.55f, 2.2f);
    clouds(c, random, 9, 200, 300, rgb(0xFFD0C0), 0.8f);
  } else {
    c = nightSky();
    c.stars(random, 420, farRidge, 1.0f);
    moon(c, {540, 92}, 26);
  }
  c.fillBelow(farRidge, dawn ? rgb(0x3A2A4A) : rgb(0x171A3A));
  villageLights(c, random, dawn ? 0.25f : 0.9f);
  observatory(c, 190, nearRidge(190) + 2, 1.1f, dawn ? rgb(0x1E1626) : rgb(0x0B0C1E), dawn ? 0.3f : 1.0f);
  c.fillBelow(nearRidge, dawn ? rgb(0x1E1626) : rgb(0x0B0C1E));
  return c;
}

Canvas paintHillAtDusk() {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(11);
  c.verticalGradient({{0, rgb(0x262B66)}, {0.3f, rgb(0x6C5597)}, {0.55f, rgb(0xD77A74)}, {0.7f, rgb(0xF6B26B)}});
  c.stars(random, 40, [](float) { return 110.0f; }, 0.5f);
  clouds(c, random, 12, 120, 290, rgb(0xFFC7A8), 1.0f);
  c.glow({120, 330}, 260, rgb(0xFFB070), 0.5f);  // the sun just gone
  auto far = [](float x) { return 300 + 18 * std::sin(x / 70 + 1) + 8 * std::sin(x / 19); };
  c.fillBelow(far, rgb(0x5A3E6A));
  // The hill rises to the right; the observatory stands small on its top.
  auto slope = [](float x) { return 430 - 0.32f * x + 10 * std::sin(x / 41); };
  observatory(c, 520, slope(520) + 3, 0.55f, rgb(0x2A1C36), 0.8f);
  c.fillBelow(slope, rgb(0x2A1C36));
  // The path, a lighter band winding up the hill.
  for (float t = 0; t <= 1; t += 0.002f) {
    float x = 80 + 420 * t + 30 * std::sin(t * 9);
    float y = slope(x) + 12 + (1 - t) * 90;
    c.disc({x, y}, 2 + 10 * (1 - t), rgb(0x6A4A66), 0.6f, 2);
  }
  // Grass blades in the foreground, swaying one way.
  for (int i = 0; i < 260; ++i) {
    float x = random.range(-10, kW + 10), base = kH + 2, height = random.range(20, 70);
    float lean = random.range(4, 18);
    c.line({x, base}, {x + lean, base - height}, random.range(1.2f, 2.4f), rgb(0x150D1C));
  }
  return c;
}

Canvas paintDomeInside() {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(23);
  c.verticalGradient({{0, rgb(0x121530)}, {0.6f, rgb(0x2A2D55)}, {1, rgb(0x16172E)}});
  // The drum's wall with a rail, and the dome's ribs meeting high above the picture.
  c.polygon({{0, 300}, {640, 300}, {640, 306}, {0, 306}}, rgb(0x2C2F57));
  for (int i = -6; i <= 6; ++i) {
    Point foot{320 + 70.0f * static_cast<float>(i), 300};
    for (float t = 0; t < 1; t += 0.003f) {
      Point p{foot.x + (320 - foot.x) * t * (2 - t) * 0.8f, foot.y - 420 * t};
      c.disc(p, 1.4f, rgb(0x2C2F57), 0.6f, 1.5f);
    }
  }
  // The open slit: a band of night sky with stars, from the top to the middle.
  Canvas sky = nightSky();
  sky.stars(random, 900, [](float) { return kH; }, 1.1f);
  for (int y = 0; y < 250; ++y) {
    float centre = 420 + 0.2f * static_cast<float>(y), half = 34 - 0.04f * static_cast<float>(y);
    for (int x = static_cast<int>(centre - half - 1); x <= static_cast<int>(centre + half + 1); ++x) {
      float cover = std::clamp(half - std::abs(static_cast<float>(x) + 0.5f - centre) + 0.5f, 0.0f, 1.0f);
      c.blend(x, y, sky.at(std::clamp(x, 0, kScreenWidth - 1), y), cover);
    }
  }
  c.glow({430, 120}, 160, rgb(0x4050A0), 0.25f);
  // The floor and the telescope on its pier, pointing into the slit.
  c.fillBelow([](float x) { return 400 + 0.02f * x; }, rgb(0x101126));
  Colour metal = rgb(0x2B2E50), edge = rgb(0x6A6FA8);
  c.polygon({{490, 402}, {512, 290}, {534, 290}, {556, 402}}, metal);
  c.polygon({{546, 286}, {572, 272}, {478, 78}, {452, 92}}, metal);  // the tube, aimed at the slit
  c.line({572, 272}, {478, 78}, 2, edge, 0.8f, 0.8f);
  c.disc({523, 282}, 14, rgb(0x3A3E6A));
  // A desk with a lamp at the left (the lamp's light is a sprite of its own in the game).
  c.polygon({{20, 360}, {170, 360}, {170, 372}, {20, 372}}, rgb(0x24203A));
  c.line({60, 360}, {60, 318}, 3, rgb(0x3A3356));
  c.polygon({{44, 318}, {76, 318}, {68, 300}, {52, 300}}, rgb(0xD9A35A));
  return c;
}

Canvas paintTelescopeView() {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(31);
  Canvas field(kScreenWidth, kScreenHeight);
  field.verticalGradient({{0, rgb(0x060818)}, {1, rgb(0x0E1030)}});
  // A nebula: soft glows strewn along a curve, in three colours that mix where they meet.
  const Colour tints[] = {rgb(0xFF4FA0), rgb(0x40C8FF), rgb(0xFFCC66)};
  for (int i = 0; i < 90; ++i) {
    float t = random.unit();
    Point p{160 + 320 * t + random.range(-40, 40), 300 - 140 * std::sin(t * 3.1f) + random.range(-40, 40)};
    field.glow(p, random.range(30, 90), tints[i % 3], random.range(0.05f, 0.16f), 1.6f);
  }
  field.stars(random, 1400, [](float) { return kH + 10; }, 1.2f);
  // Only the eyepiece's disc shows the field; its edge darkens and keeps a thin blue ring.
  const Point centre{320, 240};
  const float radius = 222;
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) {
      float d = std::hypot(static_cast<float>(x) + 0.5f - centre.x, static_cast<float>(y) + 0.5f - centre.y);
      float inside = std::clamp(radius - d + 0.5f, 0.0f, 1.0f);
      float rim = std::clamp((d - (radius - 60)) / 60, 0.0f, 1.0f);
      Colour f = field.at(x, y);
      float keep = inside * (1 - 0.7f * rim * rim);
      c.at(x, y) = {f.r * keep, f.g * keep, f.b * keep};
    }
  for (float a = 0; a < 6.2832f; a += 0.002f)
    c.add(static_cast<int>(centre.x + (radius + 1) * std::cos(a)), static_cast<int>(centre.y + (radius + 1) * std::sin(a)),
          rgb(0x405080), 0.5f);
  return c;
}

Canvas paintRoof() {
  Canvas c = nightSky();
  Random random(41);
  // The Milky Way: a diagonal band of faint stars over a soft glow.
  for (int i = 0; i < 60; ++i) {
    float t = random.unit();
    Point p{-40 + 720 * t + random.range(-30, 30), 470 - 460 * t + random.range(-50, 50)};
    c.glow(p, random.range(50, 110), rgb(0x8C90C8), random.range(0.04f, 0.08f), 1.5f);
  }
  for (int i = 0; i < 2600; ++i) {
    float t = random.unit(), spread = random.range(-1, 1);
    Point p{-40 + 720 * t + 80 * spread * spread * spread, 470 - 460 * t + 80 * spread};
    c.add(static_cast<int>(p.x), static_cast<int>(p.y), rgb(0xDDE4FF), random.range(0.1f, 0.5f));
  }
  c.stars(random, 380, [](float) { return 430.0f; }, 1.0f);
  // The edge of the dome at the bottom right and the railing across the bottom.
  c.disc({660, 620}, 300, rgb(0x0C0D20), 1, 1.5f);
  Colour rail = rgb(0x07081A);
  c.polygon({{0, 410}, {640, 392}, {640, 400}, {0, 418}}, rail);
  c.polygon({{0, 452}, {640, 440}, {640, 448}, {0, 460}}, rail);
  for (int i = 0; i < 9; ++i) {
    float x = 20 + 75.0f * static_cast<float>(i), top = 410 - 0.028f * x;
    c.polygon({{x, top}, {x + 7, top}, {x + 7, kH}, {x, kH}}, rail);
  }
  return c;
}

Canvas paintMeteorShower() {
  Canvas c = nightSky();
  Random random(53);
  c.stars(random, 500, farRidge, 1.0f);
  // Streaks radiate from a point high at the upper left: a faint tail, a bright head.
  const Point radiant{90, -60};
  for (int i = 0; i < 16; ++i) {
    float angle = random.range(0.2f, 1.25f), start = random.range(60, 560), length = random.range(60, 190);
    Point tail{radiant.x + start * std::cos(angle), radiant.y + start * std::sin(angle)};
    Point head{tail.x + length * std::cos(angle), tail.y + length * std::sin(angle)};
    c.line(tail, head, random.range(1.2f, 2.6f), rgb(0xE8F0FF), 0, 0.9f);
    c.glow(head, 10, rgb(0xCFE0FF), 0.6f);
  }
  c.fillBelow(farRidge, rgb(0x171A3A));
  observatory(c, 190, nearRidge(190) + 2, 1.1f, rgb(0x0B0C1E), 0.6f);
  c.fillBelow(nearRidge, rgb(0x0B0C1E));
  // Two small figures sit on the hill beside the dome, looking up.
  Colour figure = rgb(0x0B0C1E);
  for (float x : {292.0f, 318.0f}) {
    float ground = nearRidge(x);
    c.disc({x, ground - 26}, 6, figure, 1, 1);
    c.polygon({{x - 9, ground + 2}, {x - 6, ground - 20}, {x + 6, ground - 20}, {x + 9, ground + 2}}, figure);
  }
  return c;
}

Canvas paintDawn() {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(61);
  c.verticalGradient({{0, rgb(0x2A3C78)}, {0.3f, rgb(0x7A78B8)}, {0.55f, rgb(0xF0A8A0)}, {0.68f, rgb(0xFFD08A)}});
  clouds(c, random, 14, 140, 300, rgb(0xFFE2C8), 1.0f);
  c.glow({420, 306}, 360, rgb(0xFFE0A8), 0.6f, 2.5f);
  c.disc({420, 306}, 24, rgb(0xFFF4D8), 1, 2);
  c.fillBelow(farRidge, rgb(0x6A4A6A));
  observatory(c, 190, nearRidge(190) + 2, 1.1f, rgb(0x2A1E34), 0);
  c.fillBelow(nearRidge, rgb(0x2A1E34));
  return c;
}

Canvas paintMenuBackground() {
  Canvas c(kScreenWidth, kScreenHeight);
  Random random(71);
  c.verticalGradient({{0, rgb(0x0A0E24)}, {1, rgb(0x1C2048)}});
  c.stars(random, 150, [](float) { return kH; }, 0.45f);
  return c;
}

}  // namespace kelvox::demo
