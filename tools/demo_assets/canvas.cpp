// The canvas's shapes. Coverage is computed per pixel (distance for round shapes, 4 × 4 samples
// for polygons); colours stay floating point until rgb8() dithers them to bytes.
#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace kelvox::demo {

Colour rgb(uint32_t hex) {
  return {static_cast<float>((hex >> 16) & 0xFF) / 255.0f, static_cast<float>((hex >> 8) & 0xFF) / 255.0f,
          static_cast<float>(hex & 0xFF) / 255.0f};
}

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t Random::next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return state_;
}

float Random::unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }

float Random::range(float lo, float hi) { return lo + (hi - lo) * unit(); }

std::vector<Point> smoothOutline(const std::vector<Point>& points, int steps) {
  std::vector<Point> out;
  const size_t n = points.size();
  for (size_t i = 0; i < n; ++i) {
    Point p0 = points[(i + n - 1) % n], p1 = points[i], p2 = points[(i + 1) % n], p3 = points[(i + 2) % n];
    for (int s = 0; s < steps; ++s) {
      float t = static_cast<float>(s) / static_cast<float>(steps), t2 = t * t, t3 = t2 * t;
      auto blendAxis = [&](float a, float b, float c, float d) {
        return 0.5f * (2 * b + (c - a) * t + (2 * a - 5 * b + 4 * c - d) * t2 + (3 * b - a - 3 * c + d) * t3);
      };
      out.push_back({blendAxis(p0.x, p1.x, p2.x, p3.x), blendAxis(p0.y, p1.y, p2.y, p3.y)});
    }
  }
  return out;
}

std::vector<Point> rotated(const std::vector<Point>& points, Point pivot, float radians) {
  std::vector<Point> out;
  const float c = std::cos(radians), s = std::sin(radians);
  for (Point p : points) {
    float dx = p.x - pivot.x, dy = p.y - pivot.y;
    out.push_back({pivot.x + dx * c - dy * s, pivot.y + dx * s + dy * c});
  }
  return out;
}

Canvas::Canvas(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Canvas::blend(int x, int y, Colour c, float alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  Colour& p = at(x, y);
  p = mix(p, c, std::min(alpha, 1.0f));
}

void Canvas::add(int x, int y, Colour c, float amount) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0) return;
  Colour& p = at(x, y);
  p.r += c.r * amount;
  p.g += c.g * amount;
  p.b += c.b * amount;
}

void Canvas::verticalGradient(const std::vector<std::pair<float, Colour>>& stops) {
  for (int y = 0; y < height_; ++y) {
    float t = (static_cast<float>(y) + 0.5f) / static_cast<float>(height_);
    Colour c = stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
      if (t <= stops[i].first) {
        float span = stops[i].first - stops[i - 1].first;
        float u = span > 0 ? (t - stops[i - 1].first) / span : 1;
        c = mix(stops[i - 1].second, stops[i].second, std::clamp(u, 0.0f, 1.0f));
        break;
      }
      c = stops[i].second;
    }
    for (int x = 0; x < width_; ++x) at(x, y) = c;
  }
}

void Canvas::disc(Point centre, float radius, Colour c, float alpha, float soft) {
  int x0 = static_cast<int>(std::floor(centre.x - radius - soft)), x1 = static_cast<int>(std::ceil(centre.x + radius + soft));
  int y0 = static_cast<int>(std::floor(centre.y - radius - soft)), y1 = static_cast<int>(std::ceil(centre.y + radius + soft));
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
      float d = std::hypot(static_cast<float>(x) + 0.5f - centre.x, static_cast<float>(y) + 0.5f - centre.y);
      float cover = std::clamp((radius - d) / std::max(soft, 0.01f) + 0.5f, 0.0f, 1.0f);
      blend(x, y, c, cover * alpha);
    }
}

void Canvas::glow(Point centre, float radius, Colour c, float intensity, float power) {
  int x0 = static_cast<int>(centre.x - radius), x1 = static_cast<int>(centre.x + radius) + 1;
  int y0 = static_cast<int>(centre.y - radius), y1 = static_cast<int>(centre.y + radius) + 1;
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
      float d = std::hypot(static_cast<float>(x) + 0.5f - centre.x, static_cast<float>(y) + 0.5f - centre.y);
      if (d < radius) add(x, y, c, intensity * std::pow(1 - d / radius, power));
    }
}

void Canvas::fillBelow(const std::function<float(float)>& top, Colour c, float alpha) {
  for (int x = 0; x < width_; ++x) {
    float edge = top(static_cast<float>(x) + 0.5f);
    for (int y = std::max(0, static_cast<int>(std::floor(edge))); y < height_; ++y) {
      // The pixel row [y, y + 1) is covered below the edge.
      float cover = std::clamp(static_cast<float>(y) + 1 - edge, 0.0f, 1.0f);
      blend(x, y, c, cover * alpha);
    }
  }
}

void Canvas::polygon(const std::vector<Point>& points, Colour c, float alpha) {
  if (points.size() < 3) return;
  float minY = points[0].y, maxY = points[0].y;
  for (const Point& p : points) minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  int y0 = std::max(0, static_cast<int>(std::floor(minY))), y1 = std::min(height_ - 1, static_cast<int>(std::ceil(maxY)));
  std::vector<float> cover(static_cast<size_t>(width_));
  std::vector<float> crossings;
  for (int y = y0; y <= y1; ++y) {
    std::fill(cover.begin(), cover.end(), 0.0f);
    for (int sy = 0; sy < 4; ++sy) {
      float py = static_cast<float>(y) + (static_cast<float>(sy) + 0.5f) / 4;
      crossings.clear();
      for (size_t i = 0; i < points.size(); ++i) {
        Point a = points[i], b = points[(i + 1) % points.size()];
        if ((a.y <= py) != (b.y <= py)) crossings.push_back(a.x + (py - a.y) / (b.y - a.y) * (b.x - a.x));
      }
      std::sort(crossings.begin(), crossings.end());
      // Sample sx sits at x = (sx + 0.5) / 4; it is inside when crossings[i] <= x < crossings[i + 1].
      for (size_t i = 0; i + 1 < crossings.size(); i += 2) {
        int first = std::max(0, static_cast<int>(std::ceil(crossings[i] * 4 - 0.5f)));
        int last = std::min(width_ * 4, static_cast<int>(std::ceil(crossings[i + 1] * 4 - 0.5f)));
        for (int sx = first; sx < last; ++sx) cover[static_cast<size_t>(sx / 4)] += 1.0f / 16;
      }
    }
    for (int x = 0; x < width_; ++x) blend(x, y, c, cover[static_cast<size_t>(x)] * alpha);
  }
}

void Canvas::line(Point a, Point b, float width, Colour c, float alpha0, float alpha1) {
  float half = width / 2;
  int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - half - 1)), x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + half + 1));
  int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - half - 1)), y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + half + 1));
  float dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
  for (int y = std::max(y0, 0); y <= std::min(y1, height_ - 1); ++y)
    for (int x = std::max(x0, 0); x <= std::min(x1, width_ - 1); ++x) {
      float px = static_cast<float>(x) + 0.5f - a.x, py = static_cast<float>(y) + 0.5f - a.y;
      float t = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0f, 1.0f) : 0;
      float d = std::hypot(px - t * dx, py - t * dy);
      float cover = std::clamp(half - d + 0.5f, 0.0f, 1.0f);
      blend(x, y, c, cover * (alpha0 + (alpha1 - alpha0) * t));
    }
}

void Canvas::stars(Random& random, int count, const std::function<float(float)>& horizon, float brightness) {
  static const Colour tints[] = {rgb(0xFFFFFF), rgb(0xCFDBFF), rgb(0xFFE9C4), rgb(0xDDE6FF)};
  for (int i = 0; i < count; ++i) {
    float x = random.range(0, static_cast<float>(width_)), y = random.range(0, static_cast<float>(height_));
    float size = random.unit();
    size = size * size * size;  // most stars are faint, a few are bright
    Colour tint = tints[random.next() % 4];
    if (y > horizon(x) - 2) continue;
    float fadeNearHorizon = std::clamp((horizon(x) - y) / 120.0f, 0.25f, 1.0f);
    float level = (0.25f + 0.75f * size) * brightness * fadeNearHorizon;
    glow({x, y}, 1.2f + 2.6f * size, tint, level, 1.5f);
    if (size > 0.8f) {  // the brightest get a four-point glint
      float arm = 6 + 10 * size;
      for (float s = -arm; s <= arm; s += 1) {
        float fall = level * 0.5f * (1 - std::abs(s) / arm);
        add(static_cast<int>(x + s), static_cast<int>(y), tint, fall);
        add(static_cast<int>(x), static_cast<int>(y + s), tint, fall);
      }
    }
  }
}

std::vector<uint8_t> Canvas::rgb8(bool keyBlack) const {
  // A 4 × 4 Bayer matrix spreads the rounding of smooth gradients into a fine, even pattern.
  static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  std::vector<uint8_t> out(static_cast<size_t>(width_) * height_ * 3);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      Colour c = at(x, y);
      uint8_t* o = &out[(static_cast<size_t>(y) * width_ + x) * 3];
      float dither = (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f) / 16.0f;
      float channels[3] = {c.r, c.g, c.b};
      for (int i = 0; i < 3; ++i)
        o[i] = static_cast<uint8_t>(std::clamp(std::floor(channels[i] * 255.0f + dither), 0.0f, 255.0f));
      if (keyBlack) {
        bool painted = c.r > 0 || c.g > 0 || c.b > 0;
        if (painted && o[0] == 0 && o[1] == 0 && o[2] == 0) o[2] = 1;
        if (!painted) o[0] = o[1] = o[2] = 0;
      }
    }
  return out;
}

}  // namespace kelvox::demo
