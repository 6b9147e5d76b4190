// Group 0x800D. Operands are popped in the order the comments give; strings are data words.
#include "sound/cd_group.h"

#include "platform/platform.h"
#include "sound/cd_audio.h"
#include "sound/wav_player.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::sound {

int cdGroup(vm::MachineContext& m, uint32_t word) {
  CdAudio* cd = cdAudioOf(m);
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::CdOpen: {  // label → 1 found, 0 not
      int32_t label = m.paramStack.pop();
      std::string_view text = vm::dataString(m, label);
      m.paramStack.push(cd ? cd->openByLabel(text) : 0);
      return 0;
    }
    case vm::Op::CdPlayLoop:
    case vm::Op::CdPlay: {  // track
      int32_t track = m.paramStack.pop();
      if (!cd) return 0;
      cd->setLoop(word == static_cast<uint32_t>(vm::Op::CdPlayLoop) ? 1 : 0);
      cd->play(track);
      return 0;
    }
    case vm::Op::CdStop:
      if (cd) cd->stop();
      return 0;
    case vm::Op::CdVolume: {  // level 0 … 100
      int32_t level = m.paramStack.pop();
      // × 1000 in 32 bits, wrapping as the original's multiplication did.
      if (cd) cd->setVolume(static_cast<int32_t>(static_cast<uint32_t>(level) * 1000u));
      return 0;
    }
    case vm::Op::CdIsPlaying:  // → 1 while a track is current, else 0
      m.paramStack.push(cd && cd->currentTrack() != 0 ? 1 : 0);
      return 0;
    default:
      return 1;
  }
}

void CdAudioPart::startWith(vm::MachineContext& m, MixerControls* controls) {
  audio_.reset();  // the old object leaves the mixer and the listeners before a new one joins
  CdAudio::Services services{m.platform.cd};
  services.volumes = m.platform.paths.volumes();
  services.window = &m.platform.window;
  services.listeners = m.listeners;
  services.mixer = m.wav ? &m.wav->mixer() : nullptr;
  audio_ = std::make_unique<CdAudio>(services, controls);
}

CdAudio* cdAudioOf(const vm::MachineContext& m) {
  auto* part = dynamic_cast<const CdAudioPart*>(m.parts.cdAudio.get());
  return part ? part->audio() : nullptr;
}

}  // namespace kelvox::sound
