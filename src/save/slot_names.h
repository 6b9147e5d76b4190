// The files of the save slots: 0..99 and the quick slot 100.
//
//   slot       saved game              thumbnail
//   0 .. 99    Save\Save00 .. Save99   Save\SSHT00 .. SSHT99
//   100        Save\SaveQ              Save\SSHTTXT
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kelvox::save {

inline constexpr int32_t kQuickSlot = 100;

// The backslash path of [slot]'s saved game or thumbnail; nullopt outside 0..100, which the
// original never checked (it read past its name tables) and this engine treats as a slot
// whose files are missing.
std::optional<std::string> stateFileName(int32_t slot);
std::optional<std::string> thumbnailFileName(int32_t slot);

}  // namespace kelvox::save
