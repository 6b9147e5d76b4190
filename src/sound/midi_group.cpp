// Group 0x800A. Operands are popped in the order the comments give; strings are data words.
#include "sound/midi_group.h"

#include "sound/midi_player.h"
#include "sound/sound_files.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::sound {

int midiGroup(vm::MachineContext& m, uint32_t word) {
  MidiPlayer* midi = m.midi;
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::MidiPlay:
    case vm::Op::MidiPlayLoop: {  // name
      int32_t name = m.paramStack.pop();
      std::string_view text = vm::dataString(m, name);
      if (!midi) return 0;
      // A file in neither folder changes nothing: the music playing goes on. play's result is
      // not looked at; a piece that fails simply does not play.
      if (auto path = resolveMidiFile(midi->files(), m.searchPath, text))
        midi->play(*path, word == static_cast<uint32_t>(vm::Op::MidiPlayLoop) ? -1 : 0);
      return 0;
    }
    case vm::Op::MidiStop:
      if (midi) midi->stop();
      return 0;
    case vm::Op::MidiIsPlaying:  // → 0 or 1
      m.paramStack.push(midi && midi->isPlaying() ? 1 : 0);
      return 0;
    case vm::Op::MidiVolume: {  // volume
      int32_t v = m.paramStack.pop();
      if (midi) midi->setVolume(v);
      return 0;
    }
    default:
      return 1;
  }
}

}  // namespace kelvox::sound
