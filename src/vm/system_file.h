// Save\Sys: the scrambled system record kept across games. After unscrambling:
//
//   offset  size  content
//   0       4     magic "VMSF"
//   4       1     screenMode (1 full screen, 0 window)
//   5       rest  systemList as text, one entry per line, lines ended by CR LF
//
// A file that does not begin with "VMSF" is a bare list from offset 0 (screenMode stays 1).
//
// The engine never replaces a Save\Sys it could not read (a folder, a link, a FIFO, no
// permission, larger than kMaxSystemFileBytes, memory running out while reading): the flags
// and seen pictures in it would be lost. Such a run keeps its list in memory only.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "vm/system_list.h"

namespace kelvox::vm {

struct MachineContext;

// The largest Save\Sys read: far above any real list (200,000 entries of 30 bytes are 6 MB).
inline constexpr uint64_t kMaxSystemFileBytes = 8u << 20;

// The scrambled bytes of a system file.
std::vector<uint8_t> encodeSystemFile(uint8_t screenMode, const SystemList& list);
// Reads scrambled [bytes] into [screenMode] and [list] (entries are added).
void decodeSystemFile(std::span<const uint8_t> bytes, uint8_t& screenMode, SystemList& list);

// Reads Save\Sys below the game folder into the machine, when the file exists. Something there
// that cannot be read (a folder, a link, no permission, too large, an I/O error, no memory) is
// reported in a box and marks the machine's systemFileUnreadable, and the list stays empty.
void readSystemFile(MachineContext& m);
// Writes Save\Sys (creating Save\ if needed) atomically; raises a file error on failure. Does
// nothing when the machine could not read the file at start (systemFileUnreadable): that file
// is kept as it is.
void writeSystemFile(const MachineContext& m);

}  // namespace kelvox::vm
