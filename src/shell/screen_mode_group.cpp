// SetScreenMode and GetScreenMode: the display, the WAV player and the MIDI player rebuilt for
// the new mode in one fixed order.
#include "shell/screen_mode_group.h"

#include <optional>
#include <string>

#include "graphics/display.h"
#include "platform/platform.h"
#include "sound/midi_player.h"
#include "sound/wav_player.h"
#include "vm/input_state.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::shell {

void setScreenMode(vm::MachineContext& m, int32_t fullScreen, int32_t height, int32_t width) {
  // 1. Full screen passes the desktop's colour depth on, a window 0.
  int32_t depth = fullScreen != 0 ? m.platform.surfaces.desktopDepth() : 0;
  // 2. The display takes the mode; nothing is rebuilt yet.
  if (m.display) m.display->Configure(width, height, depth, fullScreen != 0);
  // The pointer moves on the new screen: a script's cursor moves are clamped to it.
  if (m.input) m.input->setScreenSize(width, height);
  // 3. The song playing, if any.
  std::optional<std::string> song = m.midi ? m.midi->currentName() : std::nullopt;
  // 4. The MIDI player lets go of its port.
  if (m.midi) m.midi->shutdown();
  // 5. The WAV player lets go of its device: every loaded sound and channel setting goes.
  if (m.wav) m.wav->shutdown();
  // 6. The display's surfaces for the new mode (its failures are fatal errors of their own).
  if (m.display) m.display->Initialise();
  // 7. The WAV player opens its device again (master volume back to 100, four empty channels).
  if (m.wav) m.wav->reinitialise();
  // 8. A new port on the WAV player's device; its result is not checked.
  if (m.midi) m.midi->initialise(m.wav ? m.wav->device() : nullptr);
  // 9. The song noted in 3 plays again from its beginning, without end, however it started.
  if (m.midi && song) m.midi->play(*song, -1);
  // 10. Kept in Save\Sys when that is next written.
  m.screenMode = fullScreen != 0 ? 1 : 0;
}

int screenModeGroup(vm::MachineContext& m, uint32_t word) {
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::SetScreenMode: {  // f, h, w
      int32_t f = m.paramStack.pop();
      int32_t h = m.paramStack.pop();
      int32_t w = m.paramStack.pop();
      setScreenMode(m, f, h, w);
      return 0;
    }
    case vm::Op::GetScreenMode:  // → 1 full screen, 0 window
      m.paramStack.push(m.screenMode);
      return 0;
    default:
      return 1;
  }
}

}  // namespace kelvox::shell
