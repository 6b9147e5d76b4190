// Reading and writing Save\Sys.
#include "vm/system_file.h"

#include <cstring>
#include <string>

#include "common/fatal_error.h"
#include "common/file_helpers.h"
#include "common/file_messages.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {
constexpr char kMagic[4] = {'V', 'M', 'S', 'F'};
// Far above any real list (200,000 entries are about 6 MB); a larger file is not one of ours.
constexpr uint64_t kMaxSystemFileBytes = 256u << 20;
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
  platform::ReadFailure failure;
  auto bytes = platform::readRegularFile(m.platform.paths.resolve("Save\\Sys"), kMaxSystemFileBytes, &failure);
  if (bytes) {
    decodeSystemFile(*bytes, m.screenMode, m.systemList);
    return;
  }
  if (failure.kind == platform::ReadFailure::Kind::Missing) return;  // a first start
  // There is something, and it cannot be read: it is kept (teardown will not replace it) and
  // the player is told, once, that this session's flags and seen pictures will not be kept.
  m.systemFileUnreadable = true;
  std::string text = common::unreadableFileText("Save\\Sys", failure);
  text += platform::toSjis("\r\n今回の既読と記録は保存されません");
  if (m.report) m.report(common::AppWarning(text));  // the host shows it
}

void writeSystemFile(const MachineContext& m) {
  auto folder = m.platform.paths.resolve("Save");
  if (!platform::isDirectory(folder) && !platform::createDirectory(folder))
    common::raiseFileError(platform::toSjis("フォルダ Save を作成できませんでした"));
  common::writeAppFile(m.platform.paths, "Save\\Sys", encodeSystemFile(m.screenMode, m.systemList));
}

}  // namespace kelvox::vm
