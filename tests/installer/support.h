// Test support for the installer: a temporary HOME with its XDG folders for every test, tiny
// files, and services and a user interface that record what happened and fail on request.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "installer/run_state.h"
#include "installer/services.h"
#include "installer/ui.h"

namespace kelvox::installer::test {

// Points HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and
// XDG_RUNTIME_DIR at a fresh temporary folder for one test, and removes it afterwards.
class TempHomeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::string root;  // the temporary folder, trailing '/'
  std::string home;  // root + "home/"
};

// Shift-JIS of a UTF-8 literal, for configuration texts.
std::string sjis(const std::string& utf8);

void writeFile(const std::string& path, const std::string& content);  // makes missing folders
std::string readFile(const std::string& path);
bool exists(const std::string& path);  // without following a final link

// File operations that fail on request; otherwise the real ones.
class FaultyFiles : public platform::installer::FileOps {
 public:
  std::set<std::string> inUse;        // copyFile to these destinations gives InUse
  std::set<std::string> copyFails;    // … gives Failed
  std::set<std::string> removeFails;  // removeFile / removeFolder fail
  std::set<std::string> makeFails;    // makeFolder fails
  std::optional<uint64_t> freeSpace;  // freeSpaceFigure answers this

  platform::installer::CopyResult copyFile(const std::string& from, const std::string& to, bool executable) override;
  bool removeFile(const std::string& path) override;
  bool removeFolder(const std::string& path) override;
  bool makeFolder(const std::string& path) override;
  uint64_t freeSpaceFigure(const std::string& path) const override;
};

// Records programs started and documents opened instead of starting them.
class RecordingProcesses : public platform::installer::Processes {
 public:
  struct Start {
    std::string program;
    std::vector<std::string> args;
    std::string folder;
  };
  std::vector<Start> started;
  std::vector<std::string> opened;
  std::optional<int> runResult = 0;

  bool start(const std::string& program, const std::vector<std::string>& args, const std::string& folder) override;
  std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                         const std::string& folder) override;
  bool openDocument(const std::string& document) override;
};

// Delayed deletion that records, or says it is unavailable.
class FakeDeletion : public platform::installer::DelayedDeletion {
 public:
  bool available = true;
  std::vector<std::string> scheduled;
  bool deleteAtExit(const std::string& path) override;
};

// A Program Manager that records commands; it can refuse the conversation or disconnect
// after a number of commands.
class FakeProgramManager : public ProgramManager {
 public:
  bool answers = true;
  size_t disconnectAfter = 1000;
  std::vector<std::string> commands;
  bool connect() override { return answers; }
  bool execute(std::string_view command) override;
  void disconnect() override {}
};

// The services of one test, over the temporary HOME.
struct TestServices {
  TestServices();
  FaultyFiles files;
  RecordingProcesses processes;
  FakeDeletion deletion;
  FakeProgramManager programManager;
  bool gameRunning = false;
  std::unique_ptr<platform::installer::RegistryStore> registry;
  std::unique_ptr<Services> services;
  Services& get() { return *services; }
};

// A user interface that answers message boxes by rule and walks the wizard with the given
// field and options. Every box is recorded.
class ScriptedUi : public Ui {
 public:
  std::vector<MessageBox> boxes;
  // First rule whose text occurs in the box's text decides; otherwise OK / Yes.
  std::vector<std::pair<std::string, Answer>> rules;
  std::vector<std::string> fields;  // destination field per visit; empty: keep the proposal
  bool startMenu = true, desktop = false;
  bool cancelOnOptions = false;
  std::vector<int> progressSeen;   // the step counter after each step
  std::string uninstallResult;     // the dialog's final text

  Answer message(const MessageBox& box) override;
  WizardOutcome runWizard(Wizard& wizard) override;
  void runUninstallDialog(UninstallDialog& dialog) override;

  // How many boxes held [part] in their text.
  int count(const std::string& part) const;
};

}  // namespace kelvox::installer::test
