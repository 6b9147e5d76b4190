// Deleting a registry key with everything below it, the way the uninstaller does it: subkeys
// first, depth first, stepping over a subkey whose deletion failed. Failures are silent.
#pragma once

#include <string>

#include "platform/installer/registry_store.h"

namespace kelvox::installer {

void deleteRegistryTree(platform::installer::RegistryStore& registry, platform::installer::RootKey root,
                        const std::string& path);

}  // namespace kelvox::installer
