// Folder snapshots that never read through a link, a FIFO or a device.
#include "support/file_tree.h"

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kelvox::test {

namespace fs = std::filesystem;

FileTree snapshotFiles(const fs::path& folder) {
  FileTree tree;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const fs::path& p = entry.path();
    // Named as listed: fs::relative would resolve a link to the file it names.
    std::string key = p.lexically_relative(folder).string();
    fs::file_status s = fs::symlink_status(p);
    if (fs::is_symlink(s)) tree[key] = "link:" + fs::read_symlink(p).string();
    else if (fs::is_directory(s)) tree[key] = "dir";
    else if (fs::is_fifo(s)) tree[key] = "fifo";
    else if (!fs::is_regular_file(s)) tree[key] = "device";
    else {
      std::ifstream in(p, std::ios::binary);
      tree[key] = "file:" + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  return tree;
}

void makeFifo(const fs::path& path) {
  if (mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + path.string());
}

void makeLink(const fs::path& path, const fs::path& target) { fs::create_symlink(target, path); }

}  // namespace kelvox::test
