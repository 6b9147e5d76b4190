// TextDrawReveal: what a per-frame typewriter reveal costs, a 3-line, 120-character Japanese
// message at font height 24 cleared and drawn into a 600 × 100 32-bit surface (glyphs cached
// after the first frame). SaveLoadState64K: a saved game of 64 KiB of data memory built and
// restored in memory (the disk write is left out: it is the file system's, not ours).
#include <benchmark/benchmark.h>

#include "platform/fonts/freetype_font_engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/surfaces/bitmap.h"
#include "platform/text_encoding.h"
#include "save/state_file.h"
#include "text/text_group.h"
#include "text/text_window.h"
#include "vm/machine_context.h"

namespace {

using namespace kelvox;

void TextDrawReveal(benchmark::State& state) {
  platform::FreeTypeFontEngine fonts;
  platform::Bitmap surface(600, 100);
  text::TextWindow w;
  w.reset(24, 600, 100, 0xFFFFFF);
  w.setShadow(1);
  // 39 double-byte characters a line (78 bytes), 117 in three lines.
  const std::string line = platform::toSjis("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗い");
  w.append(line + "\r" + line + "\r" + line);
  for (auto _ : state) {
    text::drawTextInto(w, surface, 0xFFFFFFFF, fonts);
    benchmark::DoNotOptimize(surface.pixels().data());
  }
}
BENCHMARK(TextDrawReveal)->Unit(benchmark::kMicrosecond);

void SaveLoadState64K(benchmark::State& state) {
  platform::HeadlessPlatform p("/nonexistent");
  vm::MachineContext m(p.platform());
  m.dataSize = 65536;
  m.data.assign(65536, 7);
  m.paramStack.create(vm::kStackCapacity);
  m.returnStack.create(vm::kStackCapacity);
  for (int i = 0; i < 100; ++i) m.paramStack.push(i);
  for (auto _ : state) {
    auto file = save::encodeState(m);
    save::applyState(m, file);
    benchmark::DoNotOptimize(m.data.data());
  }
}
BENCHMARK(SaveLoadState64K)->Unit(benchmark::kMicrosecond);

}  // namespace
