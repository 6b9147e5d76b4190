// Slot numbers to file names.
#include "save/slot_names.h"

namespace kelvox::save {
namespace {

std::optional<std::string> slotName(int32_t slot, const char* stem, const char* quick) {
  if (slot < 0 || slot > kQuickSlot) return std::nullopt;
  if (slot == kQuickSlot) return std::string("Save\\") + quick;
  return std::string("Save\\") + stem + static_cast<char>('0' + slot / 10) + static_cast<char>('0' + slot % 10);
}

}  // namespace

std::optional<std::string> stateFileName(int32_t slot) { return slotName(slot, "Save", "SaveQ"); }
std::optional<std::string> thumbnailFileName(int32_t slot) { return slotName(slot, "SSHT", "SSHTTXT"); }

}  // namespace kelvox::save
