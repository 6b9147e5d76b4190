// Registry tree deletion over the store's enumerate and delete calls.
#include "installer/registry_tree.h"

namespace kelvox::installer {

void deleteRegistryTree(platform::installer::RegistryStore& registry, platform::installer::RootKey root,
                        const std::string& path) {
  if (path.empty() || !registry.keyExists(root, path)) return;
  // Deleting subkey 0 moves the next one to index 0; when the same name comes back its
  // deletion failed, and the walk moves past it instead of trying again for ever.
  std::string deletedLast;
  size_t index = 0;
  while (std::optional<std::string> name = registry.enumKey(root, path, index)) {
    if (*name != deletedLast) {
      deleteRegistryTree(registry, root, path + "\\" + *name);
      deletedLast = *name;
    } else {
      ++index;
    }
  }
  registry.deleteKey(root, path);
}

}  // namespace kelvox::installer
