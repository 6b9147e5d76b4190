// Instruction group 0x8007: saved games, stack files, the system flags and seen pictures of
// Save\Sys, the save list's date labels and thumbnails.
#pragma once

#include <cstdint>
#include <string>

#include "platform/font_engine.h"

namespace kelvox::vm {
struct MachineContext;
}
namespace kelvox::text {
class TextWindow;
}

namespace kelvox::save {

// Handles a word of group 0x8007; 0 if known, 1 if not (see vm/groups.h).
int saveGroup(vm::MachineContext& m, uint32_t word);

// SaveLabel's picture: [label] drawn by the grid renderer into a 200 × 20 window of font height
// 16, white, in face [faceName]; every byte takes an 8-pixel cell. Its pixels() are the label.
void renderSaveLabel(text::TextWindow& w, platform::FontEngine& fonts, const std::string& faceName,
                     const std::string& label);

}  // namespace kelvox::save
