// Disc images made by the tests: ISO 9660 file systems built from a folder with xorriso, and
// raw CD-DA written sample by sample.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace kelvox::test {

// An ISO image of [root] at [iso] labelled [label]; Joliet names with [joliet]. No padding
// after the last file, so that the image ends where its last file does.
inline void makeIso(const std::filesystem::path& root, const std::filesystem::path& iso, const std::string& label,
                    bool joliet = true) {
  std::string command = "xorriso -as mkisofs -quiet -no-pad -V '" + label + "'" + (joliet ? " -J" : "") + " -o '" +
                        iso.string() + "' '" + root.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("xorriso failed: " + command);
}

// 16-bit little-endian stereo frames, left [left(k)] and right [right(k)] for frame k.
template <typename Left, typename Right>
std::string cdFrames(size_t frames, Left left, Right right) {
  std::string out;
  for (size_t k = 0; k < frames; ++k)
    for (int16_t s : {static_cast<int16_t>(left(k)), static_cast<int16_t>(right(k))}) {
      out += static_cast<char>(static_cast<uint16_t>(s) & 0xFF);
      out += static_cast<char>(static_cast<uint16_t>(s) >> 8);
    }
  return out;
}

}  // namespace kelvox::test
