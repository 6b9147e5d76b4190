// The demo's music as scores: the title theme, the night in the observatory and the meteor
// shower (written as Standard MIDI Files for the engine's synthesizer), and the ending theme
// (rendered to audio as the disc's track 2, see cd_track.h). A score is one chord a bar with a
// melody over it; arrange() turns it into notes for a pad, a bass, an arpeggio and the melody.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kelvox::demo {

constexpr int kTicksPerQuarter = 480;
constexpr int kTicksPerBar = 4 * kTicksPerQuarter;

struct Note {
  int channel;   // 0..15 (9, the drums, is never used)
  int pitch;     // MIDI note number, 60 = middle C
  int start;     // ticks from the piece's start
  int length;    // ticks
  int velocity;  // 1..127
};

enum class Part { Melody, Arpeggio, Pad, Bass };

struct Piece {
  std::string name;  // file name, e.g. "title.mid"
  int bpm;
  int bars;
  std::vector<std::pair<int, int>> programs;  // (channel, General MIDI program 0..127)
  std::vector<std::pair<Part, int>> parts;    // which part plays on which channel
  std::vector<std::vector<int>> chords;       // per bar: chord tones as note numbers, root first
  std::vector<Note> melody;                   // on channel 0
  std::vector<Note> notes;                    // everything, after arrange()
};

Piece titleTheme();
Piece nightTheme();
Piece meteorTheme();
Piece endingTheme();

// The bytes of a format 1 Standard MIDI File: a tempo track, then one track per channel. The
// file ends exactly at the last bar's end, so a piece played in a loop keeps its metre.
std::vector<uint8_t> encodeMidi(const Piece& piece);

}  // namespace kelvox::demo
