// Reads a file from its start, a piece at a time, for callers that look only at its beginning
// (a picture's first line) and must not read the rest. Host paths only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kelvox::platform {

class FileReader {
 public:
  // Opens [file] for reading; isOpen() tells whether that worked, error() why not.
  explicit FileReader(const std::filesystem::path& file);
  ~FileReader();
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  const std::string& error() const { return error_; }

  // Reads the next bytes, at most [buffer].size(), into [buffer] and returns how many. It may
  // return fewer than asked before the end; 0 means the end of the file, a read error (error()
  // says which) or a reader that is not open.
  size_t read(std::span<uint8_t> buffer);

 private:
  int fd_ = -1;
  std::string error_;
};

}  // namespace kelvox::platform
