// The installer tests' temporary HOME, fakes and scripted user interface.
#include "support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "installer/uninstall.h"
#include "installer/wizard.h"
#include "platform/text_encoding.h"

namespace kelvox::installer::test {

namespace fs = std::filesystem;
using platform::installer::CopyResult;

void TempHomeTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "kelvox-installer-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  root = pattern + "/";
  home = root + "home/";
  fs::create_directories(home);
  fs::create_directories(root + "run");
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_DATA_HOME", (home + ".local/share").c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home + ".config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (home + ".cache").c_str(), 1);
  setenv("XDG_STATE_HOME", (home + ".local/state").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (root + "run").c_str(), 1);
  unsetenv("XDG_DESKTOP_DIR");
}

void TempHomeTest::TearDown() {
  std::error_code ec;
  fs::remove_all(root, ec);
}

std::string sjis(const std::string& utf8) { return platform::toSjis(utf8); }

void writeFile(const std::string& path, const std::string& content) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

CopyResult FaultyFiles::copyFile(const std::string& from, const std::string& to, bool executable) {
  if (inUse.count(to)) return CopyResult::InUse;
  if (copyFails.count(to)) return CopyResult::Failed;
  return FileOps::copyFile(from, to, executable);
}

bool FaultyFiles::removeFile(const std::string& path) {
  return removeFails.count(path) == 0 && FileOps::removeFile(path);
}

bool FaultyFiles::removeFolder(const std::string& path) {
  return removeFails.count(path) == 0 && FileOps::removeFolder(path);
}

bool FaultyFiles::makeFolder(const std::string& path) {
  return makeFails.count(path) == 0 && FileOps::makeFolder(path);
}

uint64_t FaultyFiles::freeSpaceFigure(const std::string& path) const {
  return freeSpace ? *freeSpace : FileOps::freeSpaceFigure(path);
}

bool RecordingProcesses::start(const std::string& program, const std::vector<std::string>& args,
                               const std::string& folder) {
  started.push_back({program, args, folder});
  return true;
}

std::optional<int> RecordingProcesses::run(const std::string& program, const std::vector<std::string>& args,
                                           const std::string& folder) {
  started.push_back({program, args, folder});
  return runResult;
}

bool RecordingProcesses::openDocument(const std::string& document) {
  opened.push_back(document);
  return true;
}

bool FakeDeletion::deleteAtExit(const std::string& path) {
  if (!available) return false;
  scheduled.push_back(path);
  return true;
}

bool FakeProgramManager::execute(std::string_view command) {
  if (commands.size() >= disconnectAfter) return false;
  commands.emplace_back(command);
  return true;
}

TestServices::TestServices() {
  platform::installer::HostFolders folders = platform::installer::hostFoldersFromEnvironment();
  registry = std::make_unique<platform::installer::RegistryStore>(folders.registryFile);
  services = std::make_unique<Services>(Services{folders, *registry, files, processes, deletion,
                                                 [this] { return gameRunning; }});
  services->programManager = &programManager;
}

Answer ScriptedUi::message(const MessageBox& box) {
  boxes.push_back(box);
  for (const auto& [part, answer] : rules)
    if (box.text.find(part) != std::string::npos) return answer;
  return box.buttons == Buttons::Ok || box.buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

WizardOutcome ScriptedUi::runWizard(Wizard& wizard) {
  std::optional<WizardPage> page;
  for (size_t visit = 0; !page; ++visit) {
    if (visit > fields.size()) return WizardOutcome::Cancelled;  // the script ran out of fields
    std::string field = visit < fields.size() ? fields[visit] : wizard.folderField();
    page = wizard.nextFromDestination(field);
  }
  if (*page == WizardPage::Options) {
    if (cancelOnOptions) return WizardOutcome::Cancelled;
    wizard.acceptOptions(startMenu, desktop);
  }
  Installation& installation = wizard.installation();
  for (int step = 0; step < installation.stepCount(); ++step) {
    installation.runStep(step);
    progressSeen.push_back(step + 1);
  }
  wizard.finish();
  return WizardOutcome::Finished;
}

void ScriptedUi::runUninstallDialog(UninstallDialog& dialog) { uninstallResult = dialog.run(); }

int ScriptedUi::count(const std::string& part) const {
  int n = 0;
  for (const auto& b : boxes)
    if (b.text.find(part) != std::string::npos) ++n;
  return n;
}

}  // namespace kelvox::installer::test

// Every test binary run gets a temporary HOME before any test starts, so that nothing, not
// even a test without the fixture, can reach the real one.
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  std::string pattern = (fs::temp_directory_path() / "kelvox-installer-main-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  setenv("HOME", pattern.c_str(), 1);
  for (const char* var : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"})
    setenv(var, (pattern + "/" + var).c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  int result = RUN_ALL_TESTS();
  std::error_code ec;
  fs::remove_all(pattern, ec);
  return result;
}
