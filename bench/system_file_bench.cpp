// SystemFileLoad: reading a Save\Sys of 200,000 entries (seen pictures and flags) into the
// sorted, case-insensitive system list, as start-up does. The file is written sorted, as the
// engine writes it; the shuffled case is a file edited by hand or by another program.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "vm/system_file.h"
#include "vm/system_list.h"

namespace {

std::vector<uint8_t> systemFileOf(int entries, bool shuffled) {
  std::vector<std::string> names;
  for (int i = 0; i < entries; ++i) names.push_back((i % 2 ? ":flag" : "\\pic") + std::to_string(i));
  kelvox::vm::SystemList sorted;
  if (!shuffled) {
    sorted.addLines([&] {
      std::string text;
      for (const auto& n : names) text += n + "\r\n";
      return text;
    }());
    return kelvox::vm::encodeSystemFile(1, sorted);
  }
  std::shuffle(names.begin(), names.end(), std::mt19937(7));
  std::string text = "VMSF";
  text += '\1';
  for (const auto& n : names) text += n + "\r\n";
  std::vector<uint8_t> bytes(text.begin(), text.end());
  for (auto& b : bytes) b ^= 0x5C;
  return bytes;
}

void SystemFileLoad(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const auto bytes = systemFileOf(entries, state.range(1) != 0);
  for (auto _ : state) {
    kelvox::vm::SystemList list;
    uint8_t mode = 1;
    kelvox::vm::decodeSystemFile(bytes, mode, list);
    benchmark::DoNotOptimize(list.size());
  }
  state.SetItemsProcessed(state.iterations() * entries);
}
BENCHMARK(SystemFileLoad)->ArgNames({"entries", "shuffled"})->Args({200000, 0})->Args({200000, 1})->Unit(benchmark::kMillisecond);

}  // namespace
