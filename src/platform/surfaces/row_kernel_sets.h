// The pieces the row kernel tables are built from (row_kernels.cpp), each defined beside its
// arithmetic. Callers outside the row kernels use rowKernels() instead.
#pragma once

#include "platform/surfaces/row_kernels.h"

namespace kelvox::platform {

// The portable drawing of each depth: plain C++ over packed lanes (draw_rows_*.cpp).
extern const DrawRowKernels kDrawRows8;
extern const DrawRowKernels kDrawRows15;
extern const DrawRowKernels kDrawRows16;
extern const DrawRowKernels kDrawRows24;
extern const DrawRowKernels kDrawRows32;

// The kernels written over vector lanes (row_kernels_sse2.cpp, row_kernels_avx2.cpp), null
// where an instruction set has none of its own (filled in from the portable ones), or null as
// a whole on machines they are not built for. Only use the AVX2 ones where the processor has
// AVX2.
const RowKernels* sse2RowKernels();
const RowKernels* avx2RowKernels();

}  // namespace kelvox::platform
