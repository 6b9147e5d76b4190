// Command-line parsing for the installer.
#include "installer/command_line.h"

namespace kelvox::installer {

CommandLine parseCommandLine(const std::vector<std::string>& args) {
  CommandLine cl;
  std::string windowsText;
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
      if (!windowsText.empty()) windowsText += ' ';
      windowsText += a;
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

  std::string_view t = windowsText;
  if (!t.empty() && t.front() == '/') t.remove_prefix(1);
  if (!t.empty() && (t.front() == 'R' || t.front() == 'r')) {
    cl.mode = Mode::UninstallRequest;
  } else if (!t.empty() && t.front() == 'x') {
    cl.mode = Mode::UninstallerCopy;
    // "x", one space, the path; the path must be absolute, as the request always passes it.
    if (t.size() < 3 || t[1] != ' ' || t[2] != '/') {
      cl.error = "x needs the absolute path of the installer that started it";
      return cl;
    }
    cl.copyOf = std::string(t.substr(2));
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
