// Cue sheets on arbitrary text: the parser, then the layout of what it accepts over a folder
// holding one small BINARY file, "a.bin" (ten raw sectors and a half), so that the positions,
// lengths and limits of the layout meet every kind of sheet. An error is fine; anything that
// reads outside its buffers, overflows, or hangs is not.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/cd/cue_sheet.h"
#include "platform/cd/image_disc.h"

namespace {

std::filesystem::path folder() {
  static std::filesystem::path made = [] {
    auto dir = std::filesystem::temp_directory_path() / ("kelvox-cue-fuzz-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "a.bin", std::ios::binary) << std::string(2352 * 10 + 1176, '\x11');
    return dir;
  }();
  return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  auto sheet = kelvox::platform::parseCueSheet(std::string_view(reinterpret_cast<const char*>(data), size), error);
  if (!sheet) return 0;
  auto tracks = kelvox::platform::layOutCueSheet(*sheet, folder(), error);
  if (tracks)
    for (const auto& t : *tracks)
      if (t.toc.frames > uint64_t{kelvox::platform::kMaxTrackSectors} * kelvox::platform::kFramesPerSector) __builtin_trap();
  return 0;
}
