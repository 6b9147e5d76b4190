// Command-line parsing for kelvox.
#include "shell/command_line.h"

#include <stdexcept>

namespace kelvox::shell {

std::string usageText() {
  return "Usage: kelvox [OPTIONS] [GAME_DIR]\n"
         "Runs the game in GAME_DIR. Without it: a game beside the kelvox program, else the\n"
         "demo that came with it (games/demo beside a built kelvox, ../share/kelvox/demo\n"
         "beside an installed one, played from $XDG_DATA_HOME/kelvox/demo, a folder of\n"
         "links to it where its saves go); with none of them, kelvox says where it looked\n"
         "and exits with status 1.\n"
         "\n"
         "Options:\n"
         "  --headless      no window and no audio device; every message box is printed\n"
         "                  on standard output as one line\n"
         "  --fast          with --headless: run the ticks on a virtual clock as fast as\n"
         "                  the machine can, without waiting; every tick is still 33 ms of\n"
         "                  game time, so pictures, sound and screenshots are the same\n"
         "  --frames N      stop after N ticks (about N/30 seconds) and exit\n"
         "  --answer LIST   answers to the message boxes in order: ok, cancel, yes, no,\n"
         "                  comma-separated (default ok)\n"
         "  --input FILE    timed input, one event per line: 'TICK mouse X Y',\n"
         "                  'TICK down|up left|right|middle', 'TICK key VK down|up'\n"
         "  --audio-out FILE.wav  record what the game plays, in step with its clock, into\n"
         "                  a 16-bit stereo 44100 Hz WAV file (written when the run ends;\n"
         "                  headless or with a window); a FIFO or a device (/dev/null) is\n"
         "                  written to as a stream instead, and a FIFO must have a reader;\n"
         "                  a link or any other kind of file is refused before the game starts\n"
         "  --soundfont FILE.sf2  the SoundFont MIDI music plays with (default: the\n"
         "                  General MIDI one Debian installs; without any, music is silent)\n"
         "  --scale N       show every game pixel as N x N window pixels (1 to 8)\n"
         "  --depth N       the desktop's colour depth the game draws at: 8, 15, 16, 24 or\n"
         "                  32 (default 32); the window shows every depth the same way\n"
         "  --screenshot FILE.png  at exit, write the last frame shown as a PNG picture\n"
         "  --screenshot-at TICK:FILE.png  write the frame shown by tick TICK (from 0, as\n"
         "                  --input counts); may be given more than once\n"
         "                  (a screenshot replaces only a regular file: a link, a FIFO or a\n"
         "                  device there is refused before the game starts; a run that\n"
         "                  takes screenshots shows every frame, late ones too)\n"
         "  --texthook print|copy|FILE  hand each text the game shows, once, as UTF-8 to\n"
         "                  standard output (print), the clipboard (copy, in a window) or\n"
         "                  FILE (appended a line per text; a FIFO's reader must be running)\n"
         "  --stats         at exit, print ticks run, frames presented and skipped and the\n"
         "                  tick period (mean, 99th percentile, slowest)\n"
         "  --list-discs    print the discs the game in GAME_DIR can see (folders, disc\n"
         "                  images, drives): the drive letter, label and source of each,\n"
         "                  its tracks (data or audio) and their lengths, and the images\n"
         "                  that could not be read and why; then exit\n"
         "  --help          show this text\n"
         "\n"
         "In the window, Alt+Enter switches full screen on and off, and Print Screen saves\n"
         "the picture as kelvox-NNN.png in the game folder.\n"
         "\n"
         "Environment:\n"
         "  KELVOX_VOLUMES=LABEL=/path:...  folders that stand in for CD-ROMs with those\n"
         "                  labels; CD music plays from tracks ripped into such a folder (or\n"
         "                  a folder one level down) as track02.flac, Track_2.ogg, track02.wav,\n"
         "                  track2.mp3, ... (the number of the CD track, any letter case);\n"
         "                  a path may also be a disc image (.iso, or a .cue sheet with its\n"
         "                  BINARY, WAVE, FLAC, OGG or MP3 files), whose files and CD audio\n"
         "                  are read in place\n"
         "  KELVOX_DISCS=/path/a.cue:/path/b.iso  disc images, each labelled from its data\n"
         "                  track's volume descriptor; images in the game's Discs/ folder\n"
         "                  and discs in drives are found without being named\n"
         "  KELVOX_SCALE=N  the window's scale when --scale is not given\n";
}

bool parseCommandLine(int argc, const char* const* argv, CommandLine& line, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) {
        error = arg + " needs a value";
        return false;
      }
      out = argv[++i];
      return true;
    };
    std::string v;
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--headless") {
      line.headless = true;
    } else if (arg == "--fast") {
      line.fast = true;
    } else if (arg == "--stats") {
      line.stats = true;
    } else if (arg == "--list-discs") {
      line.listDiscs = true;
    } else if (arg == "--frames") {
      if (!value(v)) return false;
      try {
        size_t used = 0;
        long long n = std::stoll(v, &used);
        if (used != v.size() || n <= 0) throw std::invalid_argument(v);
        line.frames = static_cast<uint64_t>(n);
      } catch (...) {
        error = "--frames takes a positive number, not '" + v + "'";
        return false;
      }
    } else if (arg == "--answer") {
      if (!value(v)) return false;
      if (!platform::parseAnswerList(v, line.answers)) {
        error = "--answer takes ok, cancel, yes or no, comma-separated, not '" + v + "'";
        return false;
      }
    } else if (arg == "--scale") {
      if (!value(v)) return false;
      if (v.size() != 1 || v[0] < '1' || v[0] > '8') {
        error = "--scale takes a whole number from 1 to 8, not '" + v + "'";
        return false;
      }
      line.scale = v[0] - '0';
    } else if (arg == "--depth") {
      if (!value(v)) return false;
      if (v != "8" && v != "15" && v != "16" && v != "24" && v != "32") {
        error = "--depth takes 8, 15, 16, 24 or 32, not '" + v + "'";
        return false;
      }
      line.depth = std::stoi(v);
    } else if (arg == "--screenshot") {
      if (!value(line.screenshot)) return false;
    } else if (arg == "--screenshot-at") {
      if (!value(v)) return false;
      size_t colon = v.find(':');
      try {
        if (colon == std::string::npos || colon + 1 >= v.size()) throw std::invalid_argument(v);
        size_t used = 0;
        long long tick = std::stoll(v.substr(0, colon), &used);
        if (used != colon || tick < 0) throw std::invalid_argument(v);
        line.screenshotsAt.emplace_back(static_cast<uint64_t>(tick), v.substr(colon + 1));
      } catch (...) {
        error = "--screenshot-at takes TICK:FILE.png, not '" + v + "'";
        return false;
      }
    } else if (arg == "--soundfont") {
      if (!value(line.soundFont)) return false;
    } else if (arg == "--audio-out") {
      if (!value(line.audioOut)) return false;
    } else if (arg == "--texthook") {
      if (!value(line.textHook)) return false;
      if (line.textHook.empty()) {
        error = "--texthook takes print, copy or a file name";
        return false;
      }
    } else if (arg == "--input") {
      if (!value(line.inputFile)) return false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (line.gameDir.empty()) {
      line.gameDir = arg;
    } else {
      error = "only one game folder can be given";
      return false;
    }
  }
  if (line.fast && !line.headless) {
    error = "--fast needs --headless (a window shows the game in real time)";
    return false;
  }
  return true;
}

}  // namespace kelvox::shell
