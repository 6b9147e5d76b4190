// The demo's smaller pictures, each made for one draw mode of the engine: keyed ones (black is
// transparent) for the character, buttons and the locked gallery frame; lights on black for
// the additive mode (the logo, glows, sparkles, the hover highlight); a near-white mask for the
// subtractive vignette; and boxes for the alpha-blended text box.
#pragma once

#include "canvas.h"

namespace kelvox::demo {

Canvas paintLogo();                    // additive: "KELVOX" in light, with a sparkle
Canvas paintCharacter(bool lookingUp);  // keyed: Mina, a silhouette with a rim of light
Canvas paintGlow();                    // additive: a lamp's warm light
Canvas paintSparkle();                 // additive: a four-pointed star
Canvas paintVignette();                // subtractive: darkens towards the edges, bluish
Canvas paintRoundedBox(int width, int height, uint32_t top, uint32_t bottom, uint32_t border);  // keyed corners
Canvas paintHighlight(int width, int height);  // additive: brightens a button's plate
Canvas paintLockedFrame();             // keyed: a gallery slot not yet seen
Canvas paintGauge();                   // keyed: a level bar, dark blue to gold

}  // namespace kelvox::demo
