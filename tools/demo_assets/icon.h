// The program's icon: a night sky over a hill with the observatory's dome and a falling star,
// in a rounded square. Painted at any size from the same shapes, so every size of the hicolor
// theme and the window's own icon look alike; the SVG beside the sources draws the same.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvox::demo {

// [size] × [size] pixels of 4 bytes (R, G, B, A, alpha not premultiplied), rows top first.
// Outside the rounded square alpha is 0; its edge is anti-aliased.
std::vector<uint8_t> paintIcon(int size);

}  // namespace kelvox::demo
