// Save\Sys: the scrambled system record kept across games. After unscrambling:
//
//   offset  size  content
//   0       4     magic "VMSF"
//   4       1     screenMode (1 full screen, 0 window)
//   5       rest  systemList as text, one entry per line, lines ended by CR LF
//
// A file that does not begin with "VMSF" is a bare list from offset 0 (screenMode stays 1).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vm/system_list.h"

namespace kelvox::vm {

struct MachineContext;

// The scrambled bytes of a system file.
std::vector<uint8_t> encodeSystemFile(uint8_t screenMode, const SystemList& list);
// Reads scrambled [bytes] into [screenMode] and [list] (entries are added).
void decodeSystemFile(std::span<const uint8_t> bytes, uint8_t& screenMode, SystemList& list);

// Reads Save\Sys below the game folder into the machine, when the file exists. Something there
// that cannot be read (a folder, no permission, an I/O error) is reported in a box and marks
// the machine's systemFileUnreadable, so teardown keeps it.
void readSystemFile(MachineContext& m);
// Writes Save\Sys (creating Save\ if needed) atomically; raises a file error on failure.
void writeSystemFile(const MachineContext& m);

}  // namespace kelvox::vm
