// EngineHost: the object the main window creates when it opens. It creates the engine
// objects in a fixed order, hands the machine the others, forwards window events, and runs
// the per-idle tick: sound upkeep, cursor auto-hide, one slice of script, frame pacing to a
// 33 ms period, and presentation by transition state. When the engine falls behind it drops
// presentation, never script execution.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/listener_registry.h"
#include "graphics/display.h"
#include "graphics/display_presenter.h"
#include "sound/clock_pull.h"
#include "sound/midi_player.h"
#include "sound/wav_player.h"
#include "text/text_hook.h"
#include "vm/frame_presenter.h"
#include "vm/input_state.h"
#include "vm/machine_context.h"

namespace kelvox::platform {
struct Platform;
}

namespace kelvox::shell {

class FrameStats;

struct EngineHost {
  explicit EngineHost(platform::Platform& platform);
  ~EngineHost();

  platform::Platform& platform;
  // The window-message listeners of this run: the main window broadcasts into it while the
  // host lives; the objects that listen (the CD audio object) get it from the host.
  common::ListenerRegistry listeners;
  std::unique_ptr<vm::InputState> input;
  // Bound to the window at creation; its surfaces come with the script's first SetScreenMode.
  std::unique_ptr<graphics::TDisplay> display;
  std::unique_ptr<graphics::DisplayPresenter> displayPresenter;
  std::unique_ptr<sound::WavPlayer> wav;
  std::unique_ptr<sound::MidiPlayer> midi;
  std::unique_ptr<vm::MachineContext> machine;
  text::TextHook textHook;  // what the script's text windows showed, for platform.textSink
  sound::ClockPull silentPull;  // keeps the CD's and the music's time while no device pulls the mixer

  vm::FramePresenter* presenter = nullptr;  // none until a display exists
  FrameStats* stats = nullptr;          // optional observer of the frame loop
  std::string soundFont;                // MIDI music's SoundFont; "" the system's one
  bool systemFileLost = false;          // the machine's teardown could not keep Save\Sys up to date
};

// Creates the engine objects; raises FatalError (with each step's own code) on failure,
// leaving what was created in the host for destroyHost.
void createHost(EngineHost& host);
// Tears the objects down in reverse order; safe to call twice and after a failed createHost.
void destroyHost(EngineHost& host);
// One tick: frameTick on the machine, if there is one.
void tickHost(EngineHost& host);
bool isEndRequested(const EngineHost& host);
void setMousePosition(EngineHost& host, int32_t x, int32_t y);
void setActive(EngineHost& host, bool active);
void invalidate(EngineHost& host);

// The tick itself; raises whatever the script or the devices raise. A fault of the script
// still paces the tick (so a script that faults every tick keeps 33 ms ticks) but skips the
// presentation.
void frameTick(EngineHost& host);
// Sleeps to the advanced frameDeadline; returns true if the tick started more than half a
// period after its deadline (late).
bool paceFrame(vm::MachineContext& m);

}  // namespace kelvox::shell
