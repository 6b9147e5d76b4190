// The installer program: reads the command line, sets up the Linux services and the user
// interface (GTK when a display is available and neither --text nor --yes is given, else the
// terminal), and runs the chosen mode.
#include <unistd.h>

#include <iostream>
#include <memory>

#include "installer/app.h"
#include "installer/terminal_text.h"
#include "installer/ui_gtk.h"
#include "installer/ui_text.h"
#include "platform/installer/game_lock.h"

using namespace kelvox::installer;
namespace host = kelvox::platform::installer;

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cl = parseCommandLine(args);
  if (!cl.error.empty()) {
    std::cerr << "installer: " << terminalText(cl.error) << "\n\n" << usageText();
    return kExitBroken;
  }
  if (cl.mode == Mode::Help) {
    std::cout << usageText();
    return kExitDone;
  }

  host::HostFolders folders = host::hostFoldersFromEnvironment();
  host::RegistryStore registry(folders.registryFile);
  std::string registryProblem = registryProblemText(registry);
  if (cl.mode == Mode::List) {
    if (!registryProblem.empty()) {
      std::cerr << "installer: " << terminalText(registryProblem) << "\n";
      return kExitBroken;
    }
    std::cout << installedList(registry);
    return kExitDone;
  }

  host::FileOps files;
  host::Processes processes;
  host::DelayedDeletion deletion;
  std::string runtimeFolder = folders.runtimeFolder;
  Services services{folders, registry, files, processes, deletion,
                    [runtimeFolder] { return host::gameIsRunning(runtimeFolder); }};

  std::unique_ptr<Ui> ui;
  if (!cl.options.text && !cl.options.yes) ui = makeGtkUi();
  if (!ui) ui = std::make_unique<TextUi>(std::cin, std::cout, std::cerr, cl.options.yes, isatty(STDOUT_FILENO) == 1);

  if (!registryProblem.empty()) {
    ui->message({registryProblem, "", Buttons::Ok, Icon::Error});
    return kExitBroken;
  }

  std::string self = host::runningProgramPath();
  if (self.empty()) {
    std::cerr << "installer: cannot find this program's own file\n";
    return kExitBroken;
  }
  return runProgram(cl, self, services, *ui);
}
