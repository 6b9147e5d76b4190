// Reads a file from its start, a piece at a time, for callers that look only at its beginning
// (a picture's first line) and must not read the rest: a host file, or a file in a disc image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kelvox::platform {

class DiscFiles;

class FileReader {
 public:
  // Opens [file] for reading; isOpen() tells whether that worked, error() why not.
  explicit FileReader(const std::filesystem::path& file);
  // Opens the file [components] of the disc image [disc].
  FileReader(std::shared_ptr<DiscFiles> disc, std::vector<std::string> components);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool isOpen() const { return fd_ >= 0 || disc_ != nullptr; }
  const std::string& error() const { return error_; }

  // Reads the next bytes, at most [buffer].size(), into [buffer] and returns how many. It may
  // return fewer than asked before the end; 0 means the end of the file, a read error (error()
  // says which) or a reader that is not open.
  size_t read(std::span<uint8_t> buffer);

 private:
  int fd_ = -1;
  std::string error_;
  std::shared_ptr<DiscFiles> disc_;  // set for a file in an image
  std::vector<std::string> components_;
  uint64_t offset_ = 0;  // the next byte of the image's file
};

}  // namespace kelvox::platform
