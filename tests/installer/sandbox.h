// A sandbox for whole install-and-uninstall scenarios: a temporary tree with sentinel files
// around the installation (in the home folder, beside the distribution, in another game's
// folder, behind symbolic links), snapshots of the whole tree, and the two uninstaller
// processes run in this one, so that a test can assert that everything outside the installed
// files is exactly as it was.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "installer/app.h"
#include "support.h"

namespace kelvox::installer::test {

// Every path below a folder, not following links: "dir", "file:<content>" or "link:<target>".
using TreeSnapshot = std::map<std::string, std::string>;

TreeSnapshot snapshotTree(const std::string& folder);

// What differs between two snapshots, one line per path: "missing P", "changed P", "added P".
// Added paths that start with one of [mayBeAdded] are left out (the host's data and config
// folders, where the registry store and the system folder live).
std::vector<std::string> treeDifferences(const TreeSnapshot& before, const TreeSnapshot& after,
                                         const std::vector<std::string>& mayBeAdded);

class SandboxTest : public TempHomeTest {
 protected:
  void SetUp() override;

  // (Re)creates the services for the current environment (after HOME has been changed).
  void makeServices();

  // Sentinels: files of the user's and of another game that no installation may touch.
  void plantSentinels();

  // The sample distribution in [folder] with [config] (UTF-8), as in sample_distribution.h.
  void makeDistribution(const std::string& folder, const std::string& config);

  // The wizard, unattended, from the installer at [installer], with --folder [folder] if given.
  int install(const std::string& installer, const std::string& folder = "");

  // "installer /r" run as the program at [program] (the real path, as the system names a
  // running program); the copy it starts runs here too. The exit status of the request, or of
  // the copy when it ran.
  int uninstall(const std::string& program);

  // The whole temporary tree.
  TreeSnapshot snapshot() const { return snapshotTree(root); }
  // Differences from [before], allowing additions only in the host's data and config folders;
  // with [outsideHostFolders], any change there is left out.
  std::vector<std::string> changesSince(const TreeSnapshot& before, bool outsideHostFolders = false) const;

  std::string distribution;  // the distribution folder, trailing '/'
  std::string config;        // its configuration, UTF-8
  std::unique_ptr<TestServices> s;
  ScriptedUi ui;
};

}  // namespace kelvox::installer::test
