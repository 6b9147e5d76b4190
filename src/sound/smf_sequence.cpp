// Reading a Standard MIDI File into a timed sequence; the layout is in smf_sequence.h.
#include "sound/smf_sequence.h"

#include <algorithm>
#include <cstring>

namespace kelvox::sound {

namespace {

uint32_t be32(std::span<const uint8_t> b, size_t at) {
  return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}
uint16_t be16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] << 8 | b[at + 1]); }

// Before timing, an event's frame holds its tick, and a tempo change is an event of its own
// with kTempo as status and the new quarter note in µs as sysex; one list serves both steps.
constexpr uint8_t kTempo = 0xFF;
using TickEvent = SmfEvent;

class TrackReader {
 public:
  TrackReader(std::span<const uint8_t> track, SmfSequence& out, std::vector<TickEvent>& events)
      : b_(track), out_(out), events_(events) {}

  // Reads events until the end of the track or the first damage; returns the tick of its last
  // whole event (its end).
  uint64_t read() {
    uint8_t running = 0;
    uint64_t good = 0;
    for (; at_ < b_.size(); good = tick_) {
      uint64_t delta;
      if (!number(delta)) break;
      tick_ += delta;
      if (at_ >= b_.size()) break;
      uint8_t status = b_[at_];
      if (status >= 0x80) ++at_;
      else if (running != 0) status = running;  // running status: the byte is data
      else break;
      if (status < 0xF0) {
        running = status;
        if (!channelMessage(status)) break;
      } else if (status == 0xF0 || status == 0xF7) {
        running = 0;
        if (!systemExclusive(status)) break;
      } else if (status == 0xFF) {
        running = 0;
        bool end = false;
        if (!meta(end)) break;
        if (end) return tick_;
      } else {
        break;  // a system real-time or common byte has no place in a file
      }
    }
    return good;
  }

 private:
  // A variable-length number of at most four bytes.
  bool number(uint64_t& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at_ >= b_.size()) return false;
      uint8_t byte = b_[at_++];
      value = value << 7 | (byte & 0x7F);
      if (!(byte & 0x80)) return true;
    }
    return false;
  }

  bool dataByte(uint8_t& value) {
    if (at_ >= b_.size() || b_[at_] >= 0x80) return false;
    value = b_[at_++];
    return true;
  }

  bool channelMessage(uint8_t status) {
    TickEvent e;
    e.frame = tick_;
    e.status = status;
    if (!dataByte(e.data1)) return false;
    uint8_t kind = status & 0xF0;
    if (kind != 0xC0 && kind != 0xD0 && !dataByte(e.data2)) return false;
    events_.push_back(e);
    return true;
  }

  bool systemExclusive(uint8_t status) {
    uint64_t length;
    if (!number(length) || length > b_.size() - at_) return false;
    std::span<const uint8_t> data = b_.subspan(at_, static_cast<size_t>(length));
    at_ += static_cast<size_t>(length);
    // 0xF7 packets continue or escape a message; only whole 0xF0 messages are passed on,
    // without their closing 0xF7.
    if (status == 0xF0 && !data.empty() && data.back() == 0xF7) data = data.first(data.size() - 1);
    if (status != 0xF0 || data.empty() || data.size() > kMaxSysexBytes) return true;
    TickEvent e;
    e.frame = tick_;
    e.status = 0xF0;
    e.sysex = static_cast<uint32_t>(out_.sysexBytes.size());
    e.sysexLength = static_cast<uint16_t>(data.size());
    out_.sysexBytes.insert(out_.sysexBytes.end(), data.begin(), data.end());
    events_.push_back(e);
    return true;
  }

  bool meta(bool& end) {
    if (at_ >= b_.size()) return false;
    uint8_t type = b_[at_++];
    uint64_t length;
    if (!number(length) || length > b_.size() - at_) return false;
    if (type == 0x51 && length == 3) {
      uint32_t tempo = uint32_t(b_[at_]) << 16 | uint32_t(b_[at_ + 1]) << 8 | b_[at_ + 2];
      if (tempo > 0) {
        TickEvent e;
        e.frame = tick_;
        e.status = kTempo;
        e.sysex = tempo;
        events_.push_back(e);
      }
    }
    end = type == 0x2F;
    at_ += static_cast<size_t>(length);
    return true;
  }

  std::span<const uint8_t> b_;
  SmfSequence& out_;
  std::vector<TickEvent>& events_;
  size_t at_ = 0;
  uint64_t tick_ = 0;
};

}  // namespace

std::optional<SmfSequence> readSmf(std::span<const uint8_t> file, uint32_t sampleRate) {
  if (file.size() < 14 || std::memcmp(file.data(), "MThd", 4) != 0) return std::nullopt;
  const uint32_t headerLength = be32(file, 4);
  if (headerLength < 6 || headerLength > file.size() - 8) return std::nullopt;
  const uint16_t format = be16(file, 8), tracks = be16(file, 10), division = be16(file, 12);
  if (format > 2 || tracks == 0 || division == 0) return std::nullopt;

  // Seconds per tick: fixed for SMPTE time, else the tempo's quarter note over the division.
  double smpteTicksPerSecond = 0;
  if (division & 0x8000) {
    int fps = -static_cast<int8_t>(division >> 8);
    int ticksPerFrame = division & 0xFF;
    if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || ticksPerFrame == 0) return std::nullopt;
    smpteTicksPerSecond = (fps == 29 ? 30000.0 / 1001.0 : fps) * ticksPerFrame;
  }

  SmfSequence out;
  std::vector<TickEvent>& events = out.events;
  events.reserve(file.size() / 3);  // the densest events (running status) take 3 bytes: no regrowth
  uint64_t lastTick = 0;
  size_t at = 8 + size_t{headerLength};
  for (uint32_t found = 0; found < tracks && file.size() - at >= 8;) {
    uint32_t length = be32(file, at + 4);
    size_t body = at + 8;
    size_t bodyLength = std::min<size_t>(length, file.size() - body);
    if (std::memcmp(file.data() + at, "MTrk", 4) == 0) {
      lastTick = std::max(lastTick, TrackReader(file.subspan(body, bodyLength), out, events).read());
      ++found;
    }
    at = body + bodyLength;
  }

  // Tracks were read one after another; a stable sort by tick merges them and keeps the order
  // of a track's own events at one tick (a program change before its note).
  auto byTick = [](const TickEvent& a, const TickEvent& b) { return a.frame < b.frame; };
  if (!std::is_sorted(events.begin(), events.end(), byTick)) std::stable_sort(events.begin(), events.end(), byTick);

  double seconds = 0;  // at [tick]
  uint64_t tick = 0;
  double tempo = 500000;  // µs a quarter note
  auto advanceTo = [&](uint64_t to) {
    double ticks = static_cast<double>(to - tick);
    seconds += smpteTicksPerSecond > 0 ? ticks / smpteTicksPerSecond : ticks * tempo / (1e6 * division);
    tick = to;
  };
  // Ticks become frames in place, and the tempo changes drop out as they are taken.
  size_t kept = 0;
  for (TickEvent& e : events) {
    advanceTo(e.frame);
    if (e.status == kTempo) {
      tempo = e.sysex;
      continue;
    }
    e.frame = static_cast<uint64_t>(seconds * sampleRate + 0.5);
    events[kept++] = e;
  }
  events.resize(kept);

  advanceTo(std::max(lastTick, tick));
  out.lengthFrames = static_cast<uint64_t>(seconds * sampleRate + 0.5);
  return out;
}

}  // namespace kelvox::sound
