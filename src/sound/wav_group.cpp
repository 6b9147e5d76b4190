// Group 0x800B. Operands are popped in the order the comments give; strings are data words.
#include "sound/wav_group.h"

#include "sound/sound_files.h"
#include "sound/wav_player.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::sound {

int wavGroup(vm::MachineContext& m, uint32_t word) {
  WavPlayer* wav = m.wav;
  auto pop = [&] { return m.paramStack.pop(); };
  auto channel = [](int32_t c) { return static_cast<uint32_t>(c); };  // negative: out of range
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::WavPlay:
    case vm::Op::WavPlayLoop: {  // channel, name
      uint32_t c = channel(pop());
      int32_t name = pop();
      std::string_view text = vm::dataString(m, name);
      if (!wav) return 0;
      wav->stop(c);
      // A file in neither folder: the channel stays stopped and nothing plays.
      if (auto path = resolveWavFile(wav->files(), m.searchPath, text))
        wav->play(c, *path, word == static_cast<uint32_t>(vm::Op::WavPlayLoop) ? 1 : 0);
      return 0;
    }
    case vm::Op::WavStop: {  // channel
      uint32_t c = channel(pop());
      if (wav) wav->stop(c);
      return 0;
    }
    case vm::Op::WavIsPlaying: {  // channel → 0 or 1
      uint32_t c = channel(pop());
      m.paramStack.push(wav ? wav->isPlaying(c) : 0);
      return 0;
    }
    case vm::Op::WavMasterVolume: {  // volume
      int32_t v = pop();
      if (wav) wav->setMasterVolume(v);
      return 0;
    }
    case vm::Op::WavVolume: {  // volume, channel
      int32_t v = pop();
      uint32_t c = channel(pop());
      if (wav) wav->setChannelVolume(c, v);
      return 0;
    }
    case vm::Op::WavMasterPan: {  // pan
      int32_t p = pop();
      if (wav) wav->setMasterPan(p);
      return 0;
    }
    case vm::Op::WavPan: {  // pan, channel
      int32_t p = pop();
      uint32_t c = channel(pop());
      if (wav) wav->setChannelPan(c, p);
      return 0;
    }
    default:
      return 1;
  }
}

}  // namespace kelvox::sound
