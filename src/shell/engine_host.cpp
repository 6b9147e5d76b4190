// Creation, teardown and the frame loop of the engine host.
#include "shell/engine_host.h"

#include "common/fatal_error.h"
#include "graphics/graphics_group.h"
#include "platform/platform.h"
#include "shell/error_box.h"
#include "shell/frame_stats.h"
#include "shell/group_table.h"
#include "sound/cd_group.h"
#include "sound/midi_player.h"
#include "sound/midi_synth.h"
#include "vm/dispatch.h"

namespace kelvox::shell {

namespace {
// Skipped frames after which a WaitDrawnFrame lets the script go on anyway.
constexpr int32_t kMaxSkippedFrames = 30;
}  // namespace

EngineHost::EngineHost(platform::Platform& p) : platform(p) {}
EngineHost::~EngineHost() = default;

void createHost(EngineHost& host) {
  // The input state needs nothing beyond itself: fault 4 never arises.
  host.input = std::make_unique<vm::InputState>(host.platform.window);

  // None of the display, the WAV player and the MIDI player creates a device before the
  // script's first SetScreenMode, so setChannelCount changes nothing yet.
  try {
    host.display = std::make_unique<graphics::TDisplay>(host.platform.surfaces);
  } catch (const std::bad_alloc&) {
    common::raiseFatal(common::Fault::DisplayStart);
  }
  host.display->Create();
  host.displayPresenter = std::make_unique<graphics::DisplayPresenter>(*host.display);
  host.presenter = host.displayPresenter.get();
  try {
    host.wav = std::make_unique<sound::WavPlayer>(host.platform.audio, host.platform.paths);
  } catch (const std::bad_alloc&) {
    common::raiseFatal(common::Fault::WavStart);
  }
  host.wav->attachWindow(&host.platform.window);
  host.wav->setChannelCount(sound::kWavChannels);
  // The MIDI player on the WAV player's device: none yet, so until the first SetScreenMode its
  // port keeps time unheard (keepSoundTime). A synthesizer that cannot be made stops the game (64).
  try {
    host.midi = std::make_unique<sound::MidiPlayer>(host.wav->files(), sound::findSoundFont(host.soundFont));
  } catch (const std::bad_alloc&) {
    common::raiseFatal(common::Fault::MidiStart);
  }
  if (host.midi->initialise(host.wav->device()) != 0) common::raiseFatal(common::Fault::MidiStart);

  host.machine = std::make_unique<vm::MachineContext>(host.platform);
  host.machine->listeners = &host.listeners;
  host.machine->textHook = &host.textHook;
  // The machine reports; the host shows.
  host.machine->report = [&dialogs = host.platform.dialogs](const common::AppError& e) { showAppError(dialogs, e); };
  installSubsystemGroups(host.machine->groups);
  installSubsystemParts(*host.machine);
  vm::initMachine(*host.machine, host.input.get(), host.display.get(), host.midi.get(), host.wav.get());
}

void destroyHost(EngineHost& host) {
  if (host.machine) {
    vm::teardownMachine(*host.machine);
    host.systemFileLost = host.systemFileLost || host.machine->systemFileLost;
    host.machine.reset();
  }
  // The MIDI player ends before the WAV player's mixer it renders into. Letting go of a
  // FluidSynth synthesizer cannot fail, so error 65 is never raised here.
  if (host.midi) {
    host.midi->shutdown();
    host.midi.reset();
  }
  host.wav.reset();  // its destructor shuts it down
  // The display stays bound to the host: a second destroyHost only releases it again.
  if (host.display) host.display->Teardown(false);
  host.input.reset();
}

void tickHost(EngineHost& host) {
  if (host.machine) frameTick(host);
}

bool isEndRequested(const EngineHost& host) { return host.machine && vm::isEndRequested(*host.machine); }

void setMousePosition(EngineHost& host, int32_t x, int32_t y) {
  if (host.input) host.input->setMousePosition(x, y);
}

void setActive(EngineHost& host, bool active) {
  if (host.display) host.display->SetActive(active);
}

void invalidate(EngineHost& host) {
  if (host.display) host.display->InvalidateAll();
}

namespace {

void autoHideCursor(vm::MachineContext& m, uint32_t now) {
  if (!m.cursorAutoHide || !m.input) return;
  int32_t x = m.input->mouseX(), y = m.input->mouseY();
  if ((x != m.lastMouseX || y != m.lastMouseY) && m.cursorVisible == 0) {
    m.platform.window.showCursor(true);
    m.cursorVisible = 1;
    m.lastMouseMoveTime = now;
  } else if (now > m.lastMouseMoveTime + m.cursorHideDelay && m.cursorVisible == 1) {
    // Unsigned as the original compared: the clock restarts only when movement shows a
    // hidden cursor, so a cursor kept moving while visible still hides after the delay.
    m.platform.window.showCursor(false);
    m.cursorVisible = 0;
  }
  m.lastMouseX = x;
  m.lastMouseY = y;
}

void present(EngineHost& host, vm::MachineContext& m, bool late) {
  vm::FramePresenter* display = host.presenter;
  switch (m.transitionState) {
    case vm::kPresentFrame:
      if (late && m.frameSkipEnabled) {
        m.frameWait = 0;
        ++m.skippedFrames;
        if (m.skippedFrames >= kMaxSkippedFrames) m.drawnFrameWait = 0;
        if (host.stats) host.stats->frameSkipped();
        return;
      }
      if (display) display->refresh();
      if (host.stats) host.stats->framePresented();
      break;
    case vm::kCaptureBefore:
      if (display) display->composeIntoBackup();
      m.transitionState = vm::kHoldScreen;
      break;
    case vm::kHoldScreen:
      break;  // the screen holds while the transition is set up
    case vm::kCaptureAfter:
      if (display) display->prepareTransition(m);
      m.transitionState = vm::kShowTransition;
      break;
    case vm::kShowTransition:
      if (display) display->present();
      if (host.stats) host.stats->framePresented();
      break;
    default:
      return;  // unknown states leave the flags as they are
  }
  m.frameWait = 0;
  m.drawnFrameWait = 0;
}

}  // namespace

bool paceFrame(vm::MachineContext& m) {
  platform::Clock& clock = m.platform.clock;
  m.frameDeadline += m.framePeriod;  // never re-synchronised here: a backlog stays a backlog
  uint32_t now = clock.now();
  int32_t remaining = static_cast<int32_t>(m.frameDeadline - now);
  // Until the deadline has passed by a millisecond: the original slept to 3 ms before it and
  // spun on the clock; the clock decides how (SteadyClock sleeps the whole way).
  if (remaining >= 0)
    clock.sleepPast(m.frameDeadline, now);
  else
    clock.sleep(0);
  return static_cast<int32_t>(m.frameDeadline + m.framePeriod / 2 - now) < 0;
}

// The CD and the music keep their time while no device pulls the mixer (see ClockPull).
void keepSoundTime(EngineHost& host, vm::MachineContext& m, uint32_t now) {
  sound::MixerStream* unheard[2];
  size_t count = 0;
  if (!(host.wav && host.wav->device())) {
    if (sound::CdAudio* cd = sound::cdAudioOf(m)) unheard[count++] = &cd->stream();
    if (host.midi && host.midi->port()) unheard[count++] = host.midi->port();
  }
  host.silentPull.update(now, {unheard, count});
}

void frameTick(EngineHost& host) {
  vm::MachineContext& m = *host.machine;
  if (host.stats) host.stats->tickStarted(m.platform.clock.now());
  // Sound output catches up with the clock (a device with its own thread does not need it).
  m.platform.audio.update();
  // One reading of the clock serves the tick's own upkeep.
  const uint32_t now = m.platform.clock.now();
  keepSoundTime(host, m, now);
  if (host.wav) host.wav->serviceLoops();
  autoHideCursor(m, now);
  try {
    vm::runSlice(m);
  } catch (...) {
    // A faulting script keeps the frame's pace: presentation is skipped, the pacing is not.
    paceFrame(m);
    throw;
  }
  bool late = paceFrame(m);
  present(host, m, late);
}

}  // namespace kelvox::shell
