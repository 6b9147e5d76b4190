// A Standard MIDI File as the synthesizer plays it: every track's events merged in time order,
// each with the output frame (44100 per second) at which it sounds, worked out once from the
// file's division and tempo changes when the piece is loaded, on the engine thread. Playing then
// only walks this list, so the device thread never parses a file.
//
// What is read, all numbers big-endian:
//
//   "MThd"  length L (6 or more; bytes past the first 6 are skipped)  format  tracks  division
//   "MTrk"  length  events: delta time (variable length), then
//             0x80..0xEF  channel message with one or two data bytes (running status kept)
//             0xF0, 0xF7  system exclusive: variable length, data (0xF0's passed on)
//             0xFF        meta: type, variable length, data (0x51 tempo, 0x2F end of track)
//   other chunks are skipped.
//
// division with its top bit clear is ticks per quarter note, timed by the tempo (500,000 µs a
// quarter until a tempo event says otherwise); with it set, the high byte is minus the SMPTE
// frames per second (24, 25, 29 = 29.97, 30) and the low byte ticks per frame, a fixed rate.
// A track that is cut short or holds a byte where none may be (a data byte of 0x80 or more)
// ends there, keeping what came before.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kelvox::sound {

struct SmfEvent {
  uint64_t frame = 0;  // output frames from the piece's start
  uint32_t sysex = 0;  // system exclusive: offset of its data in SmfSequence::sysexBytes
  uint16_t sysexLength = 0;
  uint8_t status = 0;  // 0x80..0xEF a channel message; 0xF0 system exclusive
  uint8_t data1 = 0, data2 = 0;
};

struct SmfSequence {
  std::vector<SmfEvent> events;     // in time order; equal times keep the file's order
  std::vector<uint8_t> sysexBytes;  // the data of the system exclusive events, without 0xF0
  uint64_t lengthFrames = 0;        // the end of the longest track
};

// The longest system exclusive message passed on; longer ones are skipped (a synthesizer takes
// resets and a few parameters, never kilobytes).
inline constexpr size_t kMaxSysexBytes = 512;

// The sequence of the Standard MIDI File [file] at [sampleRate] frames per second, or nullopt
// when its header is not one (no "MThd", a length below 6, a format above 2, no tracks, a
// division of 0, an SMPTE rate other than 24, 25, 29 or 30).
std::optional<SmfSequence> readSmf(std::span<const uint8_t> file, uint32_t sampleRate);

}  // namespace kelvox::sound
