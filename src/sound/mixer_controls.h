// MixerControls: the system's audio mixers as the CD-audio volume sees them — devices, their
// destination lines, the source lines connected to each, and the controls of a line — and
// CdMixerVolume, which finds every CD-audio volume control, remembers its level at start-up,
// sets levels relative to that and puts it back at the end.
//
// On this system there is one mixer with one such control, the engine mixer's gain for the CD
// stream (0 … 65535); tests give a fake with many devices, lines and failures.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kelvox::sound {

class MixerControls {
 public:
  struct Line {
    uint32_t id = 0;
    bool isSource = false;       // a source line (not a destination)
    bool isCompactDisc = false;  // its component is CD audio
    uint32_t connections = 0;    // source lines connected to a destination line
    uint32_t controls = 0;
  };
  struct Control {
    uint32_t id = 0;
    bool isVolume = false;
  };

  virtual ~MixerControls() = default;
  virtual uint32_t deviceCount() = 0;
  // Opens mixer [device]; false when it cannot be opened. close follows every successful open.
  virtual bool open(uint32_t device) = 0;
  virtual void close(uint32_t device) = 0;
  // The number of destination lines (the capabilities); none when they cannot be read.
  virtual std::optional<uint32_t> destinations(uint32_t device) = 0;
  virtual std::optional<Line> destination(uint32_t device, uint32_t index) = 0;
  virtual std::optional<Line> source(uint32_t device, uint32_t destination, uint32_t connection) = 0;
  virtual std::optional<Line> lineById(uint32_t device, uint32_t lineId) = 0;
  virtual std::optional<std::vector<Control>> controls(uint32_t device, uint32_t lineId) = 0;
  virtual std::optional<uint32_t> value(uint32_t device, uint32_t controlId) = 0;
  virtual bool setValue(uint32_t device, uint32_t controlId, uint32_t value) = 0;
};

class CdMixerVolume {
 public:
  static constexpr size_t kMaxEntries = 64;
  struct Entry {
    uint32_t device = 0, control = 0;
    uint32_t saved = 0;  // the level at start-up
    bool operator==(const Entry&) const = default;
  };

  explicit CdMixerVolume(MixerControls& controls) : controls_(controls) {}

  // Fills the table with the first volume control of every CD-audio source line whose level can
  // be read, device by device, up to kMaxEntries; every failing step skips what it concerned.
  void scanMixers();
  // Sets each control to min(saved, trunc(saved × level × 0.00001)), level = script value × 1000,
  // so 100 is the start-up level and more never raises it.
  void setVolume(int32_t level);
  // Every control back to its start-up level.
  void restoreMixers();

  const std::vector<Entry>& entries() const { return entries_; }

 private:
  void scanDevice(uint32_t device);
  MixerControls& controls_;
  std::vector<Entry> entries_;
};

// min(saved, trunc(saved × level × 0.00001)), compared unsigned.
uint32_t scaledLevel(uint32_t saved, int32_t level);

}  // namespace kelvox::sound
