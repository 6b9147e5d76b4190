// kelvox's command line: kelvox [OPTIONS] [GAME_DIR].
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/dialogs.h"

namespace kelvox::shell {

struct CommandLine {
  bool help = false;
  bool headless = false;
  bool fast = false;  // --fast: headless ticks on a virtual clock, without waiting
  bool stats = false;
  bool listDiscs = false;  // --list-discs: print the discs the game can see, and exit
  uint64_t frames = 0;  // 0: run until the game ends
  std::vector<platform::Answer> answers;
  std::string inputFile;
  int scale = 0;   // --scale: the window's integer scale, 1..8; 0: KELVOX_SCALE, else what fits the desktop
  int depth = 32;  // --depth: the desktop depth the display runs at (8, 15, 16, 24 or 32)
  std::string screenshot;  // --screenshot: the PNG of the last presented frame at exit; "" none
  // --screenshot-at TICK:FILE (repeatable): the PNG of the frame presented by tick TICK
  // (counted from 0, as --input counts).
  std::vector<std::pair<uint64_t, std::string>> screenshotsAt;
  std::string soundFont;  // --soundfont: the SoundFont for MIDI music; "" Debian's General MIDI one
  std::string audioOut;  // --audio-out: the WAV file that records what is played; "" none
  // --texthook: where each text the game shows goes: "print" (standard output), "copy" (the
  // clipboard) or a file to append to; "" none.
  std::string textHook;
  std::string gameDir;  // empty: the program's own folder
};

// Parses argv[1..]; false with a message in [error] on a bad option.
bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error);

// The text of --help.
std::string usageText();

}  // namespace kelvox::shell
