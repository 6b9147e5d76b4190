// This system's mixers as MixerControls sees them: one mixer (device 0) with one destination
// line, the output, to which one source line is connected, CD audio, whose one control is a
// volume: the CD stream's gain (cd_stream.h). Nothing here fails, but for questions about
// devices, lines and controls that do not exist.
#pragma once

#include "sound/cd_stream.h"
#include "sound/mixer_controls.h"

namespace kelvox::sound {

class CdGainControls final : public MixerControls {
 public:
  static constexpr uint32_t kOutputLine = 0, kCdLine = 1, kCdVolume = 1;

  explicit CdGainControls(CdStream& stream) : stream_(stream) {}

  uint32_t deviceCount() override { return 1; }
  bool open(uint32_t device) override { return device == 0; }
  void close(uint32_t) override {}
  std::optional<uint32_t> destinations(uint32_t device) override;
  std::optional<Line> destination(uint32_t device, uint32_t index) override;
  std::optional<Line> source(uint32_t device, uint32_t destination, uint32_t connection) override;
  std::optional<Line> lineById(uint32_t device, uint32_t lineId) override;
  std::optional<std::vector<Control>> controls(uint32_t device, uint32_t lineId) override;
  std::optional<uint32_t> value(uint32_t device, uint32_t controlId) override;
  bool setValue(uint32_t device, uint32_t controlId, uint32_t value) override;

 private:
  CdStream& stream_;
};

}  // namespace kelvox::sound
