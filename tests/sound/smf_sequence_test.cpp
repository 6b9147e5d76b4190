// Standard MIDI Files read into timed sequences, and the synthesizer's bound on what one render
// may send: golden frames from the file's own arithmetic (44100 frames a second).
#include "sound/smf_sequence.h"

#include <gtest/gtest.h>

#include "sound/midi_synth.h"

namespace kelvox::sound {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes smf(uint16_t division, std::vector<Bytes> tracks, Bytes headerExtra = {}) {
  Bytes b = {'M', 'T', 'h', 'd', 0, 0, 0, uint8_t(6 + headerExtra.size()), 0, 1, 0, uint8_t(tracks.size()),
             uint8_t(division >> 8), uint8_t(division)};
  b.insert(b.end(), headerExtra.begin(), headerExtra.end());
  for (const Bytes& t : tracks) {
    Bytes head = {'M', 'T', 'r', 'k', 0, uint8_t(t.size() >> 16), uint8_t(t.size() >> 8), uint8_t(t.size())};
    b.insert(b.end(), head.begin(), head.end());
    b.insert(b.end(), t.begin(), t.end());
  }
  return b;
}

TEST(SmfSequence, EventsAreTimedByDivisionTempoAndSmpteRate) {
  const Bytes end = {0x00, 0xFF, 0x2F, 0x00};
  auto with = [&](Bytes t) { t.insert(t.end(), end.begin(), end.end()); return t; };
  struct Case {
    const char* what;
    Bytes file;
    std::vector<uint64_t> frames;  // of the messages, in order
    uint64_t length;
  } cases[] = {
      // 96 ticks a quarter at 120 a minute: 96 ticks are half a second.
      {"default tempo", smf(96, {with({0x60, 0x90, 60, 100})}), {22050}, 22050},
      // A tempo of 250,000 µs a quarter from tick 0 halves that.
      {"tempo change", smf(96, {with({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90, 0x60, 0x90, 60, 100})}), {11025}, 11025},
      // SMPTE 25 frames a second of 40 ticks: 1000 ticks (0x87 0x68) are one second.
      {"SMPTE time", smf(uint16_t(0xE700 | 40), {with({0x87, 0x68, 0xC0, 5})}), {44100}, 44100},
      {"a longer header", smf(96, {with({0x60, 0x90, 60, 100})}, {0xAA, 0xBB}), {22050}, 22050},
      // Two tracks merge in time order; running status carries the second note.
      {"two tracks", smf(96, {with({0x60, 0x90, 60, 100, 0x60, 62, 100}), with({0x30, 0xB0, 7, 90})}),
       {11025, 22050, 44100}, 44100},
      // A data byte of 0x80 or more ends the track; what came before stays.
      {"damaged track", smf(96, {{0x10, 0x90, 60, 100, 0x10, 0x90, 0x90, 1}}), {3675}, 3675},
  };
  for (const Case& c : cases) {
    auto seq = readSmf(c.file, 44100);
    ASSERT_TRUE(seq) << c.what;
    std::vector<uint64_t> frames;
    for (const SmfEvent& e : seq->events) frames.push_back(e.frame);
    EXPECT_EQ(frames, c.frames) << c.what;
    EXPECT_EQ(seq->lengthFrames, c.length) << c.what;
  }
  EXPECT_FALSE(readSmf(smf(uint16_t(0xEC00 | 4), {end}), 44100)) << "20 frames a second is no SMPTE rate";
}

TEST(MidiSynthBound, OneRenderSendsABoundedNumberOfEventsAndTheRestLater) {
  // 10,000 notes at tick 0: the render of one block sends one event per kFramesPerEvent frames.
  Bytes track;
  for (int i = 0; i < 10000; ++i) track.insert(track.end(), {0x00, 0x90, uint8_t(i % 128), 1});
  track.insert(track.end(), {0x00, 0xFF, 0x2F, 0x00});
  MidiSynth synth("");
  ASSERT_TRUE(synth.load(smf(96, {track})));
  ASSERT_TRUE(synth.play(1));
  std::vector<float> acc(Mixer::kBlockFrames * 2);
  synth.mix(acc.data(), Mixer::kBlockFrames);
  const size_t perBlock = Mixer::kBlockFrames / MidiSynth::kFramesPerEvent;
  EXPECT_EQ(synth.eventsPending(), 10000 - perBlock);
  size_t blocks = 1;
  for (; synth.eventsPending() > 0 && blocks < 1000; ++blocks) synth.mix(acc.data(), Mixer::kBlockFrames);
  EXPECT_EQ(blocks, (10000 + perBlock - 1) / perBlock);
  EXPECT_FALSE(synth.isPlaying()) << "a piece ends once every event is out and its length is reached";
}

}  // namespace
}  // namespace kelvox::sound
