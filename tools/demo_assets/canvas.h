// A floating-point RGB canvas with the few shapes the demo's pictures are painted from:
// gradients, soft discs and glows, filled curves and polygons, thick lines. Everything is
// anti-aliased by coverage, and the 8-bit output is dithered so that gradients do not band.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kelvox::demo {

struct Colour {
  float r = 0, g = 0, b = 0;  // 0..1 per channel
};
Colour rgb(uint32_t hex);  // 0xRRGGBB
Colour mix(Colour a, Colour b, float t);

struct Point {
  float x = 0, y = 0;
};

// A deterministic generator (xorshift32), so every run paints the same picture.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed ? seed : 1) {}
  uint32_t next();
  float unit();                    // [0, 1)
  float range(float lo, float hi);  // [lo, hi)

 private:
  uint32_t state_;
};

// A closed, smooth outline through [points] (Catmull-Rom), [steps] points between each two.
std::vector<Point> smoothOutline(const std::vector<Point>& points, int steps = 12);
// [points] turned by [radians] about [pivot].
std::vector<Point> rotated(const std::vector<Point>& points, Point pivot, float radians);

class Canvas {
 public:
  Canvas(int width, int height, Colour fill = {});
  int width() const { return width_; }
  int height() const { return height_; }
  Colour& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  Colour at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // Mixes [c] into pixel (x, y) with weight [alpha] (0..1); outside the canvas nothing happens.
  void blend(int x, int y, Colour c, float alpha);
  // Adds [c] × [amount] to pixel (x, y), as light does.
  void add(int x, int y, Colour c, float amount);

  // Top-to-bottom gradient through [stops] (position 0..1, colour), positions ascending.
  void verticalGradient(const std::vector<std::pair<float, Colour>>& stops);
  // A disc of [radius] with an edge [soft] pixels wide.
  void disc(Point centre, float radius, Colour c, float alpha = 1, float soft = 1);
  // Additive light falling off from [centre] as (1 - d / radius)^[power].
  void glow(Point centre, float radius, Colour c, float intensity, float power = 2);
  // Fills everything below the curve y = [top](x) (x in pixel centres), in [c].
  void fillBelow(const std::function<float(float)>& top, Colour c, float alpha = 1);
  // Fills a polygon (even-odd), 4 × 4 samples a pixel.
  void polygon(const std::vector<Point>& points, Colour c, float alpha = 1);
  // A line of [width] pixels with round ends; [alpha0] at its start fading to [alpha1].
  void line(Point a, Point b, float width, Colour c, float alpha0 = 1, float alpha1 = 1);
  // A sky's worth of stars of several sizes above the curve [horizon].
  void stars(Random& random, int count, const std::function<float(float)>& horizon, float brightness = 1);

  // 8-bit RGB rows, ordered-dithered. [keyBlack]: exact black stays black (the transparent key)
  // and every other pixel is kept at least at 1 in some channel, so it never turns transparent.
  std::vector<uint8_t> rgb8(bool keyBlack = false) const;

 private:
  int width_, height_;
  std::vector<Colour> pixels_;
};

}  // namespace kelvox::demo
