// Command-line parsing for the installer.
#include "installer/command_line.h"

namespace kelvox::installer {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::vector<std::string> words;
  bool help = false, list = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    Options& o = cl.options;
    if (a == "--help" || a == "-h") help = true;
    else if (a == "--list") list = true;
    else if (a == "--text") o.text = true;
    else if (a == "--yes") o.yes = true;
    else if (a == "--no-start") o.noStart = true;
    else if (a == "--start-menu") o.startMenu = true;
    else if (a == "--no-start-menu") o.startMenu = false;
    else if (a == "--desktop") o.desktop = true;
    else if (a == "--no-desktop") o.desktop = false;
    else if (a.rfind("--folder=", 0) == 0) o.folder = a.substr(9);
    else if (a == "--folder") {
      if (i + 1 >= args.size()) {
        cl.error = "--folder needs a path";
        return cl;
      }
      o.folder = args[++i];
    } else if (a.size() > 1 && a[0] == '-') {
      cl.error = "unknown option: " + a;
      return cl;
    } else {
      words.push_back(a);
    }
  }
  if (help) {
    cl.mode = Mode::Help;
    return cl;
  }
  if (list) {
    cl.mode = Mode::List;
    return cl;
  }
  if (words.empty()) return cl;

  // The original looked at the first letter only, so "repair" or a stray path uninstalled.
  // Here the mode words are whole words and nothing else may stand beside them.
  const std::string& w = words[0];
  if (w == "/r" || w == "/R" || w == "r" || w == "R") {
    cl.mode = Mode::UninstallRequest;
    if (words.size() > 1) cl.error = "unexpected argument: " + words[1];
  } else if (w == "x" || w == "/x") {
    cl.mode = Mode::UninstallerCopy;
    // "x" and the path, which must be absolute, as the request always passes it.
    if (words.size() != 2 || words[1].empty() || words[1][0] != '/')
      cl.error = "x needs the absolute path of the installer that started it";
    else
      cl.copyOf = words[1];
  } else {
    cl.error = "unexpected argument: " + w;
  }
  return cl;
}

std::vector<std::string> optionsForCopy(const Options& options) {
  std::vector<std::string> out;
  if (options.text) out.push_back("--text");
  if (options.yes) out.push_back("--yes");
  return out;
}

std::string usageText() {
  return
      "Usage: installer [options]            install the game described by the setup file beside it\n"
      "       installer /r [options]         uninstall (run the copy in the installation folder)\n"
      "       installer --list               list installed games\n"
      "\n"
      "Options:\n"
      "  --folder PATH      destination folder (absolute; default from the setup file)\n"
      "  --start-menu, --no-start-menu   add (default) or leave out the menu entry\n"
      "  --desktop, --no-desktop         add or leave out (default) the desktop shortcut\n"
      "  --no-start         do not start the game when installation finishes\n"
      "  --text             use the terminal even when a display is available\n"
      "  --yes              unattended: no questions, OK/Yes to every message (implies --text)\n"
      "  --help             show this text\n"
      "\n"
      "Exit status: 0 done, 1 setup file missing or broken or bad command line,\n"
      "2 cancelled (or, unattended, the destination was refused), 3 done with errors.\n";
}

}  // namespace kelvox::installer
