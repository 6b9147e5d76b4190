// Bounds-checked data memory access for the instruction groups.
#include "vm/data_memory.h"

#include <cstring>

#include "common/fatal_error.h"
#include "vm/machine_context.h"

namespace kelvox::vm {

void raiseOutsideData() { common::raiseFatal(common::Fault::OutsideData); }

std::string_view dataString(const MachineContext& m, int32_t word) {
  int64_t offset = int64_t{word} * 4;
  if (offset < 0 || offset >= static_cast<int64_t>(m.data.size())) raiseOutsideData();
  const char* start = reinterpret_cast<const char*>(m.data.data()) + offset;
  size_t left = m.data.size() - static_cast<size_t>(offset);
  const void* nul = std::memchr(start, 0, left);
  if (!nul) raiseOutsideData();
  return std::string_view(start, static_cast<const char*>(nul) - start);
}

int32_t loadDataWord(const MachineContext& m, int32_t word) {
  int64_t offset = int64_t{word} * 4;
  if (offset < 0 || offset + 4 > static_cast<int64_t>(m.data.size())) raiseOutsideData();
  const uint8_t* p = m.data.data() + offset;
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

void storeDataWord(MachineContext& m, int32_t word, int32_t value) {
  int64_t offset = int64_t{word} * 4;
  if (offset < 0 || offset + 4 > static_cast<int64_t>(m.data.size())) raiseOutsideData();
  uint8_t* p = m.data.data() + offset;
  uint32_t v = static_cast<uint32_t>(value);
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v >> 16);
  p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace kelvox::vm
