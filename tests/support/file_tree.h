// Snapshots of a folder tree for sandbox tests of file writers: each path below the folder,
// without following links and without opening FIFOs or devices, as "dir", "file:<bytes>",
// "link:<target>", "fifo" or "device". Equal snapshots before and after a run show that it
// touched nothing it should not have.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace kelvox::test {

using FileTree = std::map<std::string, std::string>;  // path relative to the folder -> what is there

FileTree snapshotFiles(const std::filesystem::path& folder);

// Plants at [path] a FIFO, or a symbolic link to [target].
void makeFifo(const std::filesystem::path& path);
void makeLink(const std::filesystem::path& path, const std::filesystem::path& target);

}  // namespace kelvox::test
