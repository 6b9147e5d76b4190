// The platform services one installer run works with, gathered so that the logic takes one
// argument and tests can swap single services for ones that fail or record.
#pragma once

#include <functional>

#include "installer/program_manager.h"
#include "platform/installer/delayed_deletion.h"
#include "platform/installer/file_ops.h"
#include "platform/installer/host_folders.h"
#include "platform/installer/processes.h"
#include "platform/installer/registry_store.h"

namespace kelvox::installer {

struct Services {
  platform::installer::HostFolders folders;
  platform::installer::RegistryStore& registry;
  platform::installer::FileOps& files;
  platform::installer::Processes& processes;
  platform::installer::DelayedDeletion& deletion;
  std::function<bool()> gameRunning;          // the engine's single-instance lock is held
  bool newShell = true;                       // shortcuts as Desktop Entries; false: Program Manager
  ProgramManager* programManager = nullptr;   // the old shell's, when there is one
};

}  // namespace kelvox::installer
