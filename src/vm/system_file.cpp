// Reading and writing Save\Sys.
#include "vm/system_file.h"

#include <cstring>
#include <string>

#include "common/fatal_error.h"
#include "common/file_helpers.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {
constexpr char kMagic[4] = {'V', 'M', 'S', 'F'};
}

std::vector<uint8_t> encodeSystemFile(uint8_t screenMode, const SystemList& list) {
  std::string text = list.text();
  std::vector<uint8_t> bytes(kMagic, kMagic + 4);
  bytes.push_back(screenMode);
  bytes.insert(bytes.end(), text.begin(), text.end());
  common::scrambleBuffer(bytes);
  return bytes;
}

void decodeSystemFile(std::span<const uint8_t> bytes, uint8_t& screenMode, SystemList& list) {
  std::vector<uint8_t> plain(bytes.begin(), bytes.end());
  common::scrambleBuffer(plain);
  size_t offset = 0;
  if (plain.size() >= 4 && std::memcmp(plain.data(), kMagic, 4) == 0) {
    offset = 4;
    if (plain.size() >= 5) screenMode = plain[offset++];
  } else {
    screenMode = 1;
  }
  list.addLines(std::string_view(reinterpret_cast<const char*>(plain.data()) + offset, plain.size() - offset));
}

void readSystemFile(MachineContext& m) {
  auto file = m.platform.paths.resolve("Save\\Sys");
  if (!platform::isRegularFile(file)) return;
  auto bytes = platform::readWholeFile(file);
  if (!bytes) return;  // unreadable: as if missing, like an absent file
  decodeSystemFile(*bytes, m.screenMode, m.systemList);
}

void writeSystemFile(const MachineContext& m) {
  auto folder = m.platform.paths.resolve("Save");
  if (!platform::isDirectory(folder) && !platform::createDirectory(folder))
    common::raiseFileError(platform::toSjis("フォルダ Save を作成できませんでした"));
  common::writeAppFile(m.platform.paths, "Save\\Sys", encodeSystemFile(m.screenMode, m.systemList));
}

}  // namespace kelvox::vm
