// The application's message loop: creates the main window's form, then alternates between
// pumping the window's events and the idle handler's tick until the window closes. Errors
// raised by an event or a tick are shown in the error box and the loop goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kelvox::platform {
struct Platform;
class ScriptedInput;
}

namespace kelvox::shell {

class FrameStats;

struct RunOptions {
  uint64_t frameLimit = 0;         // stop after this many loop passes (ticks); 0 = no limit
  bool exitOnFailedStart = false;  // end at once with status 1 when the engine cannot start
  bool failOnLostSystemFile = false;  // status 1 when teardown could not write Save\Sys
  platform::ScriptedInput* input = nullptr;  // timed input, already wrapped around the platform's window
  FrameStats* stats = nullptr;
  // Asked between the loop's passes; true ends the game as closing its window does.
  std::function<bool()> terminationRequested;
  std::function<void(uint64_t pass)> afterTick;  // called after each pass's tick (screenshots)
  std::string soundFont;  // the SoundFont of MIDI music; "" the system's General MIDI one
  // Every tick presents its frame, late or not (frameSkipEnabled 0). Set for runs that take
  // screenshots: on a machine too slow for the screen (4096 × 4096) every frame would be late
  // and skipped, and the frames asked for would never be shown.
  bool presentLateFrames = false;
};

// Runs the game until its window closes (or the frame limit). Returns the exit status: 0,
// or 1 when exitOnFailedStart is set and the engine could not start, or when
// failOnLostSystemFile is set and Save\Sys could not be written at teardown.
int runApplication(platform::Platform& platform, const RunOptions& options);

}  // namespace kelvox::shell
