// Wiring the subsystems' instruction groups into the machine's table. A group no subsystem
// handles skips its words (vm::skipGroup). A subsystem adds one line:
//   groups[0x8008 - 0x8000] = graphics::graphicsGroup;
#include "shell/group_table.h"

#include "graphics/effects_group.h"
#include "graphics/graphics_group.h"
#include "save/save_group.h"
#include "sound/cd_group.h"
#include "shell/screen_mode_group.h"
#include "sound/midi_group.h"
#include "sound/wav_group.h"
#include "text/text_group.h"
#include "text/text_windows.h"
#include "vm/machine_context.h"

namespace kelvox::shell {

void installSubsystemGroups(vm::GroupTable& groups) {
  groups[0x8006 - 0x8000] = screenModeGroup;
  groups[0x8007 - 0x8000] = save::saveGroup;
  groups[0x8008 - 0x8000] = graphics::graphicsGroup;
  groups[0x8009 - 0x8000] = text::textGroup;
  groups[0x800A - 0x8000] = sound::midiGroup;
  groups[0x800B - 0x8000] = sound::wavGroup;
  groups[0x800C - 0x8000] = graphics::effectsGroup;
  groups[0x800D - 0x8000] = sound::cdGroup;
}

void installSubsystemParts(vm::MachineContext& m) {
  m.parts.textWindows = std::make_unique<text::TextWindows>();
  m.parts.pictures = std::make_unique<graphics::MachinePictures>();
  m.parts.cdAudio = std::make_unique<sound::CdAudioPart>();
}

}  // namespace kelvox::shell
