// The installer's command line. The original took one Windows-style text whose first letter
// (after one optional '/') chose the mode: "R"/"r" the uninstall request, "x" the uninstaller
// copy followed by a space and a path, anything else the wizard. Here the mode is a whole
// word: "/r" (also "r", "/R", "R") alone, or "x" (or "/x") and one absolute path; any other
// word is an error, so that "repair" or a stray path never uninstalls or goes unnoticed.
// Options begin with "--".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelvox::installer {

enum class Mode { Wizard, UninstallRequest, UninstallerCopy, Help, List };

struct Options {
  bool text = false;    // --text: the terminal instead of a window
  bool yes = false;     // --yes: unattended, OK/Yes to every question
  bool noStart = false; // --no-start: Finish does not start the game
  std::optional<std::string> folder;  // --folder PATH
  std::optional<bool> startMenu;      // --start-menu / --no-start-menu
  std::optional<bool> desktop;        // --desktop / --no-desktop
};

struct CommandLine {
  Mode mode = Mode::Wizard;
  Options options;
  std::string copyOf;  // "x": absolute path of the installer file that started this copy
  std::string error;   // not empty when the command line is unusable
};

// Parses argv[1…].
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The options an uninstall request hands on to its copy.
std::vector<std::string> optionsForCopy(const Options& options);

// The --help text.
std::string usageText();

}  // namespace kelvox::installer
