// TVisualEffector: draws one step of one of the twelve transition kinds into the back buffer,
// copying from the picture before the transition ([before], effectSurface1) and the one after
// it ([after], effectSurface2). Steps are cumulative: each draws only what changes at that
// step and relies on the earlier ones being in the back buffer already. Step 0 shows the old
// picture, the kind's step count (or any later step) the whole new one.
//
//   kind   steps  effect
//   0, 1   64     20-pixel strips uncovered right to left / left to right
//   2, 3   48     20-row strips uncovered top to bottom / bottom to top
//   4      64     ordered dissolve (8 × 8 Bayer order)
//   5      64     diagonal dissolve
//   6      32     mosaic: the old picture coarsens to 128-pixel blocks, the new one sharpens
//   7, 8   64     ragged wipe left to right / right to left (rows offset at random)
//   9      16     woven tiles
//   10     64     iris open: a disc of the new picture grows from the centre
//   11     64     iris close: a disc of the old picture shrinks
//
// Surface failures are ignored (a lost surface is restored at the start of the next step);
// only a dissolve on a surface of unknown depth raises (the code is the bit count).
#pragma once

#include <cstdint>

#include "platform/surfaces/surface.h"

namespace kelvox::graphics {

class TVisualEffector {
 public:
  static constexpr int kKinds = 12;
  // The steps of each kind, as the machine's effectStepCounts starts.
  static constexpr int32_t kStepCounts[kKinds] = {64, 64, 48, 48, 64, 64, 32, 64, 64, 16, 64, 64};

  // Draws [step] of [kind] (0..11; other kinds draw nothing). [stepCount] is the kind's step
  // count; [randomState] the runtime generator the ragged wipes draw from.
  static void Draw(int kind, int32_t step, int32_t stepCount, platform::Surface& back, platform::Surface& before,
                   platform::Surface& after, uint32_t& randomState);
};

}  // namespace kelvox::graphics
