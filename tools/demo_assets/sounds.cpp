// Effects from sine partials with exponential decays, and wind from filtered noise whose end is
// cross-faded into its start so that it loops without a click.
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "canvas.h"  // Random

namespace kelvox::demo {
namespace {

constexpr float kPi = 3.14159265f;

struct Partial {
  float frequency, amplitude, decay;  // Hz, 0..1, amplitude lost per second as e^(-decay t)
  float start = 0;                    // s
};

std::vector<int16_t> render(float seconds, const std::vector<Partial>& partials) {
  std::vector<int16_t> out(static_cast<size_t>(seconds * kEffectRate));
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kEffectRate, v = 0;
    for (const Partial& p : partials) {
      float u = t - p.start;
      if (u < 0) continue;
      float attack = std::min(1.0f, u * 400);  // 2.5 ms, so no partial starts with a click
      v += p.amplitude * attack * std::exp(-p.decay * u) * std::sin(2 * kPi * p.frequency * u);
    }
    float fadeOut = std::min(1.0f, (seconds - t) * 50);
    out[i] = static_cast<int16_t>(std::clamp(v * fadeOut, -1.0f, 1.0f) * 32000);
  }
  return out;
}

// A bell: inharmonic partials that die away faster the higher they are.
std::vector<Partial> bell(float frequency, float amplitude, float start) {
  return {{frequency, amplitude, 3.0f, start},
          {frequency * 2.76f, amplitude * 0.45f, 5.5f, start},
          {frequency * 5.40f, amplitude * 0.25f, 9.0f, start},
          {frequency * 8.93f, amplitude * 0.12f, 14.0f, start}};
}

std::vector<int16_t> wind(float seconds) {
  const size_t n = static_cast<size_t>(seconds * kEffectRate), fade = kEffectRate / 2;
  Random random(97);
  std::vector<float> v(n + fade);
  float low = 0, band = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    float t = static_cast<float>(i) / kEffectRate;
    // Gusts: the filter opens and the level swells at a slow, uneven pace.
    float gust = 0.55f + 0.45f * std::sin(2 * kPi * t / seconds * 2) * std::sin(2 * kPi * t / seconds * 3 + 1);
    float cutoff = 0.02f + 0.05f * gust;
    low += cutoff * (random.range(-1, 1) - low);
    band += 0.2f * (low - band);
    v[i] = (low - band * 0.6f) * (0.6f + 0.9f * gust) * 2.2f;
  }
  // The last half second is faded into the first, so the loop has no seam.
  std::vector<int16_t> out(n);
  for (size_t i = 0; i < n; ++i) {
    float s = v[i];
    if (i < fade) {
      float w = static_cast<float>(i) / static_cast<float>(fade);
      s = s * w + v[n + i] * (1 - w);
    }
    out[i] = static_cast<int16_t>(std::clamp(s, -1.0f, 1.0f) * 32000);
  }
  return out;
}

std::vector<int16_t> door() {
  Random random(5);
  std::vector<int16_t> out(static_cast<size_t>(0.5f * kEffectRate));
  float low = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    float t = static_cast<float>(i) / kEffectRate;
    low += 0.05f * (random.range(-1, 1) - low);  // the knock's body: dark noise
    float knock = (std::sin(2 * kPi * 70 * t) * 0.7f + low * 3) * std::exp(-t * 14);
    float second = t > 0.16f ? (std::sin(2 * kPi * 64 * (t - 0.16f)) * 0.5f + low * 2) * std::exp(-(t - 0.16f) * 16) : 0;
    out[i] = static_cast<int16_t>(std::clamp((knock + second) * std::min(1.0f, t * 500), -1.0f, 1.0f) * 30000);
  }
  return out;
}

}  // namespace

std::vector<Effect> makeEffects() {
  std::vector<Effect> effects;
  effects.push_back({"hover", render(0.05f, {{1760, 0.22f, 70}})});
  effects.push_back({"click", render(0.25f, {{1046.5f, 0.3f, 22}, {1568, 0.25f, 20, 0.06f}})});
  effects.push_back({"cancel", render(0.22f, {{784, 0.28f, 24}, {523.25f, 0.28f, 22, 0.07f}})});
  std::vector<Partial> chime;
  for (auto [f, start] : {std::pair{1568.0f, 0.0f}, {2093.0f, 0.09f}, {2637.0f, 0.18f}, {3136.0f, 0.27f}})
    for (const Partial& p : bell(f, 0.16f, start)) chime.push_back(p);
  effects.push_back({"chime", render(1.8f, chime)});
  effects.push_back({"door", door()});
  effects.push_back({"wind", wind(4.0f)});
  return effects;
}

std::vector<uint8_t> encodeWav(const std::vector<int16_t>& samples, int rate) {
  std::vector<uint8_t> out;
  auto word = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
  };
  const uint32_t data = static_cast<uint32_t>(samples.size() * 2);
  tag("RIFF");
  word(36 + data, 4);
  tag("WAVE");
  tag("fmt ");
  word(16, 4);
  word(1, 2);  // PCM
  word(1, 2);  // mono
  word(static_cast<uint32_t>(rate), 4);
  word(static_cast<uint32_t>(rate) * 2, 4);  // bytes per second
  word(2, 2);                                 // block alignment
  word(16, 2);                                // bits per sample
  tag("data");
  word(data, 4);
  for (int16_t s : samples) word(static_cast<uint16_t>(s), 2);
  return out;
}

}  // namespace kelvox::demo
