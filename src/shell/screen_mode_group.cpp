// SetScreenMode and GetScreenMode. The display's and the MIDI player's steps have their places
// marked here; they are filled in as those objects arrive.
#include "shell/screen_mode_group.h"

#include "sound/wav_player.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace kelvox::shell {

void setScreenMode(vm::MachineContext& m, int32_t fullScreen, int32_t height, int32_t width) {
  // 1. Full screen passes the desktop's colour depth on, a window 0 (display work).
  (void)height;
  (void)width;
  // 2. The display's Configure(width, height, depth, fullScreen): nothing rebuilt yet.
  // 3. Note the MIDI player's currentName, the song playing, if any.
  // 4. The MIDI player's shutdown.
  // 5. The WAV player lets go of its device: every loaded sound and channel setting goes.
  if (m.wav) m.wav->shutdown();
  // 6. The display's Initialise for the new mode.
  // 7. The WAV player opens its device again (master volume back to 100, four empty channels).
  if (m.wav) m.wav->reinitialise();
  // 8. The MIDI player's initialise on the WAV player's device (m.wav->device); not checked.
  // 9. The song noted in 3 plays again from its beginning, without end (play(name, −1)).
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
