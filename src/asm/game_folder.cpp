// Writing and reading the script files of a game folder. Layout of both files:
//
//   Script/Code.ssb   offset 4i: code word i, 32-bit little-endian; no header, no count
//   Script/Data.ssb   offset  b: data memory byte b XOR 0x5C (kFileMask); no header
//
// The engine loads the first with its size rounded up to whole words and refuses an empty
// second one, which is why an assembled script always has at least one data word.
#include "asm/game_folder.h"

#include <system_error>

#include "common/file_helpers.h"
#include "platform/file_system.h"

namespace kelvox::assembler {
namespace {

namespace fs = std::filesystem;

// Writes [bytes] to [target] through an AtomicFile: the old file survives any failure, and a
// link or FIFO at [target] is refused rather than replaced.
bool writeAtomically(const fs::path& target, const std::vector<uint8_t>& bytes, std::string& error) {
  std::string why;
  if (!platform::writeFileAtomic(target, bytes, &why)) {
    error = "cannot write '" + target.string() + "': " + why;
    return false;
  }
  return true;
}

// Script files are indexed by 32-bit counts, as the engine reads them.
constexpr uint64_t kMaxScriptFileBytes = 0x7FFFFFF0;

bool readWhole(const fs::path& file, std::vector<uint8_t>& bytes, std::string& error) {
  platform::ReadFailure failure;
  auto read = platform::readRegularFile(file, kMaxScriptFileBytes, &failure);
  if (!read) {
    error = "cannot read '" + file.string() + "': " + failure.reason;
    return false;
  }
  bytes = std::move(*read);
  return true;
}

}  // namespace

bool writeGameFolder(const Script& script, const fs::path& dir, std::string& error) {
  fs::path folder = dir / "Script";
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create '" + folder.string() + "': " + ec.message();
    return false;
  }
  std::vector<uint8_t> code;
  code.reserve(script.code.size() * 4);
  for (uint32_t word : script.code)
    for (int shift = 0; shift < 32; shift += 8) code.push_back(static_cast<uint8_t>(word >> shift));
  std::vector<uint8_t> data = script.data;
  if (data.empty()) data.resize(4, 0);
  common::scrambleBuffer(data);
  return writeAtomically(folder / "Code.ssb", code, error) && writeAtomically(folder / "Data.ssb", data, error);
}

bool readGameFolder(const fs::path& dir, ScriptImage& image, std::string& error) {
  std::vector<uint8_t> code;
  if (!readWhole(dir / "Script" / "Code.ssb", code, error)) return false;
  if (!readWhole(dir / "Script" / "Data.ssb", image.data, error)) return false;
  common::scrambleBuffer(image.data);
  image.codeFileBytes = code.size();
  code.resize((code.size() + 3) & ~size_t{3}, 0);
  image.code.clear();
  for (size_t i = 0; i < code.size(); i += 4)
    image.code.push_back(code[i] | code[i + 1] << 8 | code[i + 2] << 16 | static_cast<uint32_t>(code[i + 3]) << 24);
  return true;
}

}  // namespace kelvox::assembler
