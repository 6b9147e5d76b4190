// Reading and writing Save\Sys.
#include "vm/system_file.h"

#include <cstring>
#include <string>

#include "common/fatal_error.h"
#include "common/file_helpers.h"
#include "common/file_errors.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

namespace {
constexpr char kMagic[4] = {'V', 'M', 'S', 'F'};

// Reads the unscrambled [plain] into [screenMode] and [list].
void decodePlain(std::span<const uint8_t> plain, uint8_t& screenMode, SystemList& list) {
  size_t offset = 0;
  if (plain.size() >= 4 && std::memcmp(plain.data(), kMagic, 4) == 0) {
    offset = 4;
    if (plain.size() >= 5) screenMode = plain[offset++];
  } else {
    screenMode = 1;
  }
  list.addLines(std::string_view(reinterpret_cast<const char*>(plain.data()) + offset, plain.size() - offset));
}

// Tells the player, once, that Save\Sys is kept as it is and this run's list is not stored.
void reportUnreadable(MachineContext& m, const platform::ReadFailure& failure) {
  m.systemFileUnreadable = true;
  std::string text = common::fileErrorText(common::FileError::SystemFileKept, "Save\\Sys",
                                          common::readFailureReason(failure));
  if (m.report) m.report(common::AppWarning(text));  // the host shows it
}
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
  decodePlain(plain, screenMode, list);
}

void readSystemFile(MachineContext& m) {
  using Kind = platform::ReadFailure::Kind;
  platform::ReadFailure failure;
  try {
    // A link is not one of the engine's files: it is neither read nor, later, replaced.
    auto bytes = platform::readRegularFile(m.platform.paths.resolve("Save\\Sys"), kMaxSystemFileBytes, &failure,
                                           platform::Links::Refuse);
    if (bytes) {
      common::scrambleBuffer(*bytes);  // in place: the file is held once
      decodePlain(*bytes, m.screenMode, m.systemList);
      return;
    }
  } catch (const std::bad_alloc&) {
    m.systemList.clear();  // what was read so far is not the file
    m.screenMode = 1;
    failure = {Kind::Unreadable, "メモリが不足しています"};  // worded as the system's detail is
  }
  if (failure.kind == Kind::Missing) return;  // a first start
  // There is something, and it cannot be read: it is kept (no write replaces it) and the
  // player is told, once, that this session's flags and seen pictures will not be kept.
  reportUnreadable(m, failure);
}

void writeSystemFile(const MachineContext& m) {
  if (m.systemFileUnreadable) return;  // the file that could not be read keeps what it holds
  common::makeAppFolder(m.platform.paths, "Save");
  common::writeAppFile(m.platform.paths, "Save\\Sys", encodeSystemFile(m.screenMode, m.systemList));
}

}  // namespace kelvox::vm
