// Patterns by number: LoadPattern (a picture file under Grd\ or the disc's search path) and
// GeneratePattern (one colour). The graphics group checks the numbers and hands the table
// entry over; these replace what the entry names (replacePattern, pattern_store.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/pattern.h"
#include "vm/machine_context.h"

namespace kelvox::graphics {

// Loads the picture Grd\[name] (or [m].searchPath + Grd\[name]) into [entry] with draw [mode].
// An empty name does nothing. The same file already in [entry] is not loaded again and keeps
// its mode. Names starting with "e" or "E" are recorded as seen ("\name" in systemList, and
// Save\Sys written) while recordSeenImages is 1. The file is resolved once in each place and
// read once (picture_file.h). Raises 17 when the file is in neither place or its contents are
// damaged or of neither format, 37 when it cannot be read, 38 for pictures the decoders
// refuse, 53 when there is no display surface yet.
void LoadPattern(vm::MachineContext& m, PatternHandle& entry, int32_t mode, std::string_view name);

// Makes [entry] a [width] × [height] pattern of the single [colour] (0xRRGGBB) with draw
// [mode]; colour 0 is wholly transparent in keyed drawing.
void GeneratePattern(vm::MachineContext& m, PatternHandle& entry, int32_t mode, uint32_t colour, int32_t width,
                     int32_t height);

}  // namespace kelvox::graphics
