// The four pieces, written as chord symbols and a melody in note names, their arrangement into
// parts, and the Standard MIDI File writer.
#include "music.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <array>

namespace kelvox::demo {
namespace {

constexpr int kEighth = kTicksPerQuarter / 2;

// "C" 0 … "B" 11, with "#" and "b" after the letter; [at] moves past what was read.
int pitchClass(const std::string& text, size_t& at) {
  static const std::map<char, int> letters{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5}, {'G', 7}, {'A', 9}, {'B', 11}};
  int pc = letters.at(text.at(at++));
  if (at < text.size() && text[at] == '#') ++pc, ++at;
  if (at < text.size() && text[at] == 'b') --pc, ++at;
  return (pc + 12) % 12;
}

// A chord symbol ("D", "Bm", "F#m", "C/E") as pitch classes: bass first, then root, third, fifth.
std::vector<int> chord(const std::string& symbol) {
  size_t at = 0;
  int root = pitchClass(symbol, at);
  bool minor = at < symbol.size() && symbol[at] == 'm';
  if (minor) ++at;
  int bass = root;
  if (at < symbol.size() && symbol[at] == '/') bass = pitchClass(symbol, ++at);
  return {bass, root, (root + (minor ? 3 : 4)) % 12, (root + 7) % 12};
}

// "F#5:3 r:2 …": notes with octaves (C4 = 60) and lengths in eighths; "r" rests.
std::vector<Note> melody(const std::string& text, int velocity) {
  std::vector<Note> notes;
  std::istringstream in(text);
  std::string token;
  int at = 0;
  while (in >> token) {
    size_t colon = token.find(':');
    int eighths = std::stoi(token.substr(colon + 1));
    if (token[0] != 'r') {
      size_t i = 0;
      int pc = pitchClass(token, i);
      int octave = std::stoi(token.substr(i, colon - i));
      notes.push_back({0, 12 * (octave + 1) + pc, at, eighths * kEighth, velocity});
    }
    at += eighths * kEighth;
  }
  return notes;
}

// The note of pitch class [pc] nearest above or at [floor].
int above(int pc, int floor) { return floor + ((pc - floor) % 12 + 12) % 12; }

void arrange(Piece& piece) {
  piece.notes = piece.melody;
  for (int bar = 0; bar < piece.bars; ++bar) {
    const std::vector<int>& c = piece.chords[static_cast<size_t>(bar) % piece.chords.size()];
    const int t = bar * kTicksPerBar;
    for (auto [part, channel] : piece.parts) {
      switch (part) {
        case Part::Melody: break;
        case Part::Pad:  // root, third and fifth held through the bar
          for (size_t i = 1; i < 4; ++i) piece.notes.push_back({channel, above(c[i], 55), t, kTicksPerBar, 60});
          break;
        case Part::Bass:  // bass note, then the fifth, in the low octave
          piece.notes.push_back({channel, above(c[0], 36), t, 2 * kTicksPerQuarter - 20, 90});
          piece.notes.push_back({channel, above(c[3], 36), t + 2 * kTicksPerQuarter, 2 * kTicksPerQuarter - 20, 80});
          break;
        case Part::Arpeggio: {  // eighths up and down the chord over two octaves
          static const int pattern[8] = {1, 2, 3, 4, 5, 4, 3, 2};
          for (int i = 0; i < 8; ++i) {
            int step = pattern[i], tone = c[static_cast<size_t>(1 + (step - 1) % 3)];
            int pitch = above(tone, 60) + (step > 3 ? 12 : 0);
            piece.notes.push_back({channel, pitch, t + i * kEighth, 2 * kEighth, i == 0 ? 78 : 64});
          }
          break;
        }
      }
    }
  }
}

Piece compose(std::string name, int bpm, const std::string& chords, const std::string& tune, int melodyVelocity,
              std::vector<std::pair<int, int>> programs, std::vector<std::pair<Part, int>> parts) {
  Piece piece{std::move(name), bpm, 0, std::move(programs), std::move(parts), {}, {}, {}};
  std::istringstream in(chords);
  std::string symbol;
  while (in >> symbol) piece.chords.push_back(chord(symbol));
  piece.bars = static_cast<int>(piece.chords.size());
  piece.melody = melody(tune, melodyVelocity);
  arrange(piece);
  return piece;
}

// General MIDI programs used below.
constexpr int kPiano = 0, kCelesta = 8, kMusicBox = 10, kVibraphone = 11, kAcousticBass = 32, kHarp = 46,
              kStrings = 48, kSlowStrings = 49, kWarmPad = 89;

}  // namespace

Piece titleTheme() {
  return compose("title.mid", 84, "D Bm G A D F#m G A Bm G D A G A D D",
                 "F#5:3 E5:1 D5:2 A4:2  B4:3 C#5:1 D5:2 F#5:2  G5:3 F#5:1 E5:2 D5:2  E5:6 r:2 "
                 "F#5:3 E5:1 D5:2 A5:2  A5:3 G5:1 F#5:2 C#5:2  D5:2 E5:2 G5:2 B5:2  A5:6 r:2 "
                 "B5:3 A5:1 F#5:2 D5:2  G5:3 F#5:1 E5:2 B4:2  A5:3 F#5:1 D5:2 F#5:2  E5:4 C#5:2 E5:2 "
                 "D5:3 E5:1 G5:2 B5:2  A5:3 G5:1 E5:2 C#5:2  D5:8  r:8",
                 112, {{0, kCelesta}, {1, kStrings}, {2, kAcousticBass}, {3, kHarp}},
                 {{Part::Pad, 1}, {Part::Bass, 2}, {Part::Arpeggio, 3}});
}

Piece nightTheme() {
  return compose("night.mid", 68, "Am F C G Am F Dm E",
                 "E5:2 A5:2 C6:2 B5:2  A5:4 F5:2 r:2  G5:2 E5:2 C5:2 E5:2  D5:6 r:2 "
                 "E5:2 A5:2 C6:2 E6:2  D6:3 C6:1 A5:4  F5:2 A5:2 D6:2 C6:2  B5:4 G#5:4",
                 104, {{0, kMusicBox}, {1, kWarmPad}, {2, kAcousticBass}}, {{Part::Pad, 1}, {Part::Bass, 2}});
}

Piece meteorTheme() {
  return compose("meteor.mid", 96, "C G Am Em F C F G C G Am Em F G C C",
                 "E5:2 G5:2 C6:3 B5:1  B5:2 A5:2 G5:4  A5:2 C6:2 E6:3 D6:1  B5:6 r:2 "
                 "A5:2 C6:2 F6:3 E6:1  E6:2 D6:2 C6:4  A5:2 B5:2 C6:2 D6:2  D6:6 r:2 "
                 "E6:2 G6:2 E6:2 C6:2  D6:2 B5:2 G5:4  C6:2 E6:2 A6:3 G6:1  G6:4 E6:4 "
                 "F6:2 E6:2 D6:2 C6:2  D6:3 E6:1 D6:2 B5:2  C6:8  r:8",
                 104, {{0, kPiano}, {1, kSlowStrings}, {2, kAcousticBass}, {3, kVibraphone}},
                 {{Part::Pad, 1}, {Part::Bass, 2}, {Part::Arpeggio, 3}});
}

Piece endingTheme() {
  // Rendered to audio (cd_track.cpp), so its programs only name the voices' roles.
  return compose("track02", 76, "F C/E Dm Bb F C Bb C Dm Am Bb F Gm C F F",
                 "A5:3 G5:1 F5:2 C5:2  E5:3 F5:1 G5:4  F5:3 E5:1 D5:2 A5:2  A5:4 G5:4 "
                 "A5:3 Bb5:1 C6:2 A5:2  G5:3 F5:1 E5:2 C5:2  D5:2 F5:2 Bb5:2 A5:2  G5:6 r:2 "
                 "A5:3 G5:1 F5:2 D5:2  E5:3 F5:1 G5:2 A5:2  Bb5:3 A5:1 G5:2 F5:2  A5:4 C6:4 "
                 "Bb5:3 A5:1 G5:2 D5:2  E5:3 F5:1 G5:2 C6:2  A5:8  r:8",
                 96, {}, {{Part::Pad, 1}, {Part::Bass, 2}, {Part::Arpeggio, 3}});
}

std::vector<uint8_t> encodeMidi(const Piece& piece) {
  std::vector<uint8_t> out;
  auto word = [](std::vector<uint8_t>& o, uint32_t v, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
  };
  auto variable = [](std::vector<uint8_t>& o, uint32_t v) {  // variable-length quantity
    uint8_t bytes[5];
    int n = 0;
    do bytes[n++] = static_cast<uint8_t>(v & 0x7F), v >>= 7;
    while (v != 0);
    while (n > 1) o.push_back(bytes[--n] | 0x80);
    o.push_back(bytes[0]);
  };
  const uint32_t end = static_cast<uint32_t>(piece.bars * kTicksPerBar);
  std::vector<std::vector<uint8_t>> tracks;

  std::vector<uint8_t> tempo;  // track 0: tempo and metre
  const uint32_t microsecondsPerQuarter = 60000000u / static_cast<uint32_t>(piece.bpm);
  tempo.insert(tempo.end(), {0x00, 0xFF, 0x51, 0x03});
  word(tempo, microsecondsPerQuarter, 3);
  tempo.insert(tempo.end(), {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
  variable(tempo, end);
  tempo.insert(tempo.end(), {0xFF, 0x2F, 0x00});
  tracks.push_back(tempo);

  for (auto [channel, program] : piece.programs) {
    // Events at their times: note-offs sort before note-ons at the same tick.
    std::vector<std::array<uint32_t, 4>> events;  // time, order, status, data
    for (const Note& n : piece.notes) {
      if (n.channel != channel) continue;
      uint32_t on = static_cast<uint32_t>(n.start), off = static_cast<uint32_t>(std::min<int>(n.start + n.length, static_cast<int>(end)));
      events.push_back({on, 1, 0x90u | static_cast<uint32_t>(channel), static_cast<uint32_t>(n.pitch << 8 | n.velocity)});
      events.push_back({off, 0, 0x80u | static_cast<uint32_t>(channel), static_cast<uint32_t>(n.pitch << 8 | 64)});
    }
    std::sort(events.begin(), events.end());
    std::vector<uint8_t> track{0x00, static_cast<uint8_t>(0xC0 | channel), static_cast<uint8_t>(program)};
    uint32_t now = 0;
    for (const auto& e : events) {
      variable(track, e[0] - now);
      now = e[0];
      track.insert(track.end(), {static_cast<uint8_t>(e[2]), static_cast<uint8_t>(e[3] >> 8), static_cast<uint8_t>(e[3] & 0x7F)});
    }
    variable(track, end - now);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});
    tracks.push_back(track);
  }

  out.insert(out.end(), {'M', 'T', 'h', 'd'});
  word(out, 6, 4);
  word(out, 1, 2);  // format 1
  word(out, static_cast<uint32_t>(tracks.size()), 2);
  word(out, kTicksPerQuarter, 2);
  for (const auto& track : tracks) {
    out.insert(out.end(), {'M', 'T', 'r', 'k'});
    word(out, static_cast<uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
  }
  return out;
}

}  // namespace kelvox::demo
