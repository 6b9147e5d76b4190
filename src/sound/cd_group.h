// Instruction group 0x800D: the script's CD audio (open the disc by its label, play a track
// once or looping, stop, volume, query) on the machine's CdAudio, and that object's life with
// the machine.
#pragma once

#include <cstdint>
#include <memory>

#include "sound/cd_audio.h"
#include "vm/machine_part.h"

namespace kelvox::sound {

// Handles a word of group 0x800D; 0 if known, 1 if not (see vm/groups.h).
int cdGroup(vm::MachineContext& m, uint32_t word);

// The CD audio object's owner: the sound subsystem's part of the machine (vm/machine_part.h).
class CdAudioPart final : public vm::MachinePart {
 public:
  // Makes the CD audio object over the platform's CD device, the WAV player's mixer and the
  // host's listeners, ending one made before. Running out of memory raises std::bad_alloc
  // with none made (the machine's fault 100).
  void start(vm::MachineContext& m) override { startWith(m, nullptr); }
  // The same with the CD-audio volume set on [controls] instead of the CD stream's gain.
  void startWith(vm::MachineContext& m, MixerControls* controls);
  // Ends it: the CD stops and closes, and the mixers get their start-up levels back.
  void stop(vm::MachineContext&) override { audio_.reset(); }
  CdAudio* audio() const { return audio_.get(); }

 private:
  std::unique_ptr<CdAudio> audio_;
};

// [m]'s CD audio object; null before start-up, after teardown, and in a build without it.
CdAudio* cdAudioOf(const vm::MachineContext& m);

}  // namespace kelvox::sound
