// Renders the ending theme note by note into a stereo buffer, adds a Schroeder reverb, and
// encodes the result with libsndfile.
#include "cd_track.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "canvas.h"  // Random
#include "files.h"

namespace kelvox::demo {
namespace {

constexpr float kTwoPi = 6.2831853f;

struct Voice {
  float gain, pan;  // pan -1 left … 1 right
};

// Adds [note]'s sound from [startFrame] into [left] and [right]; [kind] picks the instrument.
void renderNote(std::vector<float>& mix, size_t startFrame, float frequency, float seconds, float velocity, int kind,
                Voice voice, uint32_t seed) {
  const float release = kind == 1 ? 0.8f : kind == 3 ? 1.2f : 0.3f;
  const size_t frames = static_cast<size_t>((seconds + release) * kTrackRate);
  const float leftGain = voice.gain * std::sqrt((1 - voice.pan) / 2), rightGain = voice.gain * std::sqrt((1 + voice.pan) / 2);
  // Karplus-Strong: a burst of noise circulating in a delay line as long as one period.
  std::vector<float> string;
  size_t at = 0;
  if (kind == 3) {
    Random random(seed);
    string.resize(std::max<size_t>(2, static_cast<size_t>(kTrackRate / frequency)));
    for (float& s : string) s = random.range(-1, 1);
  }
  for (size_t i = 0; i < frames && (startFrame + i) * 2 + 1 < mix.size(); ++i) {
    float t = static_cast<float>(i) / kTrackRate, v = 0;
    float held = t < seconds ? 1 : std::exp(-(t - seconds) * 6 / release);
    switch (kind) {
      case 0: {  // melody: a two-operator electric piano
        float index = 1.2f * std::exp(-4 * t);
        v = std::sin(kTwoPi * frequency * t + index * std::sin(kTwoPi * frequency * t)) * std::exp(-1.6f * t);
        v *= std::min(1.0f, t * 200);
        break;
      }
      case 1: {  // pad: three slightly detuned tones with a slow swell
        float swell = std::min(1.0f, t / 0.8f);
        v = (std::sin(kTwoPi * frequency * t) + std::sin(kTwoPi * frequency * 1.003f * t) +
             std::sin(kTwoPi * frequency * 0.997f * t) + 0.3f * std::sin(kTwoPi * 2 * frequency * t)) *
            swell / 3;
        break;
      }
      case 2:  // bass: a round tone dying away
        v = (std::sin(kTwoPi * frequency * t) + 0.25f * std::sin(kTwoPi * 2 * frequency * t)) * std::exp(-1.2f * t) *
            std::min(1.0f, t * 200);
        break;
      default: {  // arpeggio: the plucked string
        size_t next = (at + 1) % string.size();
        v = string[at];
        string[at] = 0.996f * 0.5f * (string[at] + string[next]);
        at = next;
        break;
      }
    }
    v *= held * velocity;
    mix[(startFrame + i) * 2] += v * leftGain;
    mix[(startFrame + i) * 2 + 1] += v * rightGain;
  }
}

// A Schroeder reverb: four damped combs in parallel, two all-passes in series.
class Reverb {
 public:
  explicit Reverb(size_t offset) {
    for (size_t d : {1557u, 1617u, 1491u, 1422u}) combs_.push_back({std::vector<float>(d + offset), 0, 0});
    for (size_t d : {225u, 556u}) passes_.push_back({std::vector<float>(d + offset / 2), 0, 0});
  }
  float process(float in) {
    float out = 0;
    for (Line& c : combs_) {
      float y = c.buffer[c.at];
      c.state = y * 0.8f + c.state * 0.2f;  // damping: highs die sooner
      c.buffer[c.at] = in + c.state * 0.84f;
      c.at = (c.at + 1) % c.buffer.size();
      out += y;
    }
    for (Line& a : passes_) {
      float y = a.buffer[a.at];
      a.buffer[a.at] = out + y * 0.5f;
      out = y - out * 0.5f;
      a.at = (a.at + 1) % a.buffer.size();
    }
    return out / 4;
  }

 private:
  struct Line {
    std::vector<float> buffer;
    size_t at;
    float state;
  };
  std::vector<Line> combs_, passes_;
};

}  // namespace

std::vector<float> renderTrack(const Piece& piece, float tailSeconds) {
  const float secondsPerTick = 60.0f / (static_cast<float>(piece.bpm) * kTicksPerQuarter);
  const float length = static_cast<float>(piece.bars * kTicksPerBar) * secondsPerTick + tailSeconds;
  std::vector<float> dry(static_cast<size_t>(length * kTrackRate) * 2, 0.0f);
  const Voice voices[4] = {{0.32f, 0.0f}, {0.07f, 0.0f}, {0.30f, 0.0f}, {0.20f, 0.0f}};
  uint32_t seed = 1;
  for (const Note& n : piece.notes) {
    int kind = std::clamp(n.channel, 0, 3);
    Voice v = voices[kind];
    if (kind == 3) v.pan = (n.start / (kTicksPerQuarter / 2)) % 2 ? 0.4f : -0.4f;  // eighths alternate sides
    float frequency = 440.0f * std::pow(2.0f, static_cast<float>(n.pitch - 69) / 12);
    renderNote(dry, static_cast<size_t>(static_cast<float>(n.start) * secondsPerTick * kTrackRate), frequency,
               static_cast<float>(n.length) * secondsPerTick, static_cast<float>(n.velocity) / 127.0f, kind, v, seed++);
  }
  Reverb left(0), right(23);
  std::vector<float> out(dry.size());
  float peak = 0;
  for (size_t i = 0; i + 1 < dry.size(); i += 2) {
    float send = (dry[i] + dry[i + 1]) / 2;
    out[i] = dry[i] + 0.3f * left.process(send);
    out[i + 1] = dry[i + 1] + 0.3f * right.process(send);
    peak = std::max({peak, std::abs(out[i]), std::abs(out[i + 1])});
  }
  // The last seconds fade out; the whole is scaled to peak at 0.5, a level near the music's.
  const size_t frames = out.size() / 2, fade = static_cast<size_t>(tailSeconds * kTrackRate);
  for (size_t f = 0; f < frames; ++f) {
    float gain = 0.5f / std::max(peak, 1e-6f);
    if (f + fade > frames) gain *= static_cast<float>(frames - f) / static_cast<float>(fade);
    out[f * 2] *= gain;
    out[f * 2 + 1] *= gain;
  }
  return out;
}

namespace {

// Ogg's page checksum: CRC-32 with the polynomial 0x04C11DB7, not reflected, starting at 0.
uint32_t oggCrc(const uint8_t* bytes, size_t n) {
  uint32_t crc = 0;
  for (size_t i = 0; i < n; ++i) {
    crc ^= static_cast<uint32_t>(bytes[i]) << 24;
    for (int bit = 0; bit < 8; ++bit) crc = crc & 0x80000000u ? crc << 1 ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// libsndfile gives every Ogg stream a random serial number; the track gets a fixed one, so
// every build writes the same bytes. Each page is: "OggS", version, flags, granule position
// (8 bytes), serial (4, at 14), sequence (4), checksum (4, at 22), segment count (at 26), the
// segments' lengths, then the segments. False for a file that is not a whole stream of pages.
bool fixOggSerial(std::vector<uint8_t>& ogg) {
  size_t at = 0;
  while (at < ogg.size()) {
    if (ogg.size() - at < 27 || std::string(ogg.begin() + static_cast<long>(at), ogg.begin() + static_cast<long>(at) + 4) != "OggS")
      return false;
    const size_t segments = ogg[at + 26];
    if (ogg.size() - at < 27 + segments) return false;
    size_t length = 27 + segments;
    for (size_t i = 0; i < segments; ++i) length += ogg[at + 27 + i];
    if (ogg.size() - at < length) return false;
    const uint8_t serial[4] = {'K', 'V', 'O', 'X'};
    std::copy(serial, serial + 4, ogg.begin() + static_cast<long>(at) + 14);
    std::fill(ogg.begin() + static_cast<long>(at) + 22, ogg.begin() + static_cast<long>(at) + 26, 0);
    const uint32_t crc = oggCrc(&ogg[at], length);
    for (int i = 0; i < 4; ++i) ogg[at + 22 + static_cast<size_t>(i)] = static_cast<uint8_t>(crc >> (8 * i));
    at += length;
  }
  return true;
}

}  // namespace

bool writeOggTrack(const std::filesystem::path& file, const std::vector<float>& stereo, std::string& error) {
  SF_INFO info{};
  info.samplerate = kTrackRate;
  info.channels = 2;
  info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
  SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
  if (out == nullptr) {
    error = "cannot write " + file.string() + ": " + sf_strerror(nullptr);
    return false;
  }
  double quality = 0.3;  // Vorbis quality about 3 of 10: small, and clean for soft music
  sf_command(out, SFC_SET_VBR_ENCODING_QUALITY, &quality, sizeof quality);
  // In pieces: the Vorbis encoder takes a whole write on the stack at once.
  const sf_count_t frames = static_cast<sf_count_t>(stereo.size() / 2), piece = 4096;
  bool ok = true;
  for (sf_count_t at = 0; ok && at < frames; at += piece) {
    sf_count_t n = std::min(piece, frames - at);
    ok = sf_writef_float(out, stereo.data() + at * 2, n) == n;
  }
  if (!ok) error = "cannot write " + file.string() + ": " + sf_strerror(out);
  sf_close(out);
  if (!ok) return false;
  std::ifstream in(file, std::ios::binary);
  std::vector<uint8_t> ogg((std::istreambuf_iterator<char>(in)), {});
  in.close();
  if (!fixOggSerial(ogg)) {
    error = file.string() + " is not a stream of Ogg pages";
    return false;
  }
  return writeBytes(file, ogg, error);
}

}  // namespace kelvox::demo
