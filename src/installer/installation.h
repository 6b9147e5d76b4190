// The progress page's work, one step at a time: step 0 makes the installation folder, steps
// 1 … N + 2 copy the installer, the configuration and the file entries, step N + 3 makes the
// shortcuts and the uninstall entry, with the record of what the installation made (the
// folders it created, the files it copied). A failing step is reported and the next one
// still runs. Nothing is written through a symbolic link below a base folder, and sources
// stay inside the distribution folder.
// Also the finish: starting the main program and opening the Open document.
#pragma once

#include <optional>
#include <string>

#include "installer/install_record.h"
#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer {

class Installation {
 public:
  Installation(RunState& state, Services& services, Ui& ui);

  int stepCount() const { return state_.fileCount() + 4; }       // steps 0 … N + 3
  int progressMaximum() const { return state_.fileCount() + 3; }  // the bar's range 0 … N + 3
  void runStep(int step);

  // Starts the main program (entry 1) in the installation folder, then opens Install/Open
  // with the desktop's handler. False when the program could not be started.
  bool finish();

  // Some step reported an error (a copy, a folder, a shortcut).
  bool hadErrors() const { return errors_ > 0; }

  const InstallRecord& record() const { return record_; }

 private:
  void copyEntry(int n);
  // The source file for [relative] (relative to the installer's folder), or nullopt when it
  // lies outside the distribution folder, as written or through a link.
  std::optional<std::string> sourcePath(const std::string& relative) const;
  void writeUninstallEntry();
  void error(const std::string& text);

  RunState& state_;
  Services& services_;
  Ui& ui_;
  int errors_ = 0;
  InstallRecord record_;
};

}  // namespace kelvox::installer
