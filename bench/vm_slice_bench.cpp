// VmSlice: instructions per second of the script machine's slice loop, beside the same
// counting loop as plain C++ and as Lua 5.4 bytecode, in one run.
//
// The loop keeps (acc, i) on the stack and runs 9 instructions per iteration:
//   loop: Swap Over Add Swap 1 Sub Dup loop JumpIf
// The Lua loop `repeat acc = acc + i; i = i - 1 until i == 0` executes 4 bytecodes per
// iteration (ADD, ADDI, EQI, JMP; `luac -l` lists their MMBIN companions, which are skipped
// when the operands are numbers).
#include <benchmark/benchmark.h>

#include <lua.hpp>

#include "platform/headless/headless_platform.h"
#include "vm/dispatch.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"

namespace {

using kelvox::vm::Op;

constexpr uint32_t op(Op o) { return static_cast<uint32_t>(o); }

struct BenchMachine {
  kelvox::platform::HeadlessPlatform platform{"."};
  kelvox::vm::MachineContext m{platform.platform()};

  BenchMachine() {
    m.paramStack.create(kelvox::vm::kStackCapacity);
    m.returnStack.create(kelvox::vm::kStackCapacity);
    m.data.assign(16, 0);
    const uint32_t loop = 2;
    m.code = {0, 0x7FFFFFFF,  // acc, i: far more iterations than any run reaches
              op(Op::Swap), op(Op::Over), op(Op::Add), op(Op::Swap), 1, op(Op::Sub), op(Op::Dup), loop, op(Op::JumpIf),
              op(Op::End)};
  }
};

void VmSliceKelvox(benchmark::State& state) {
  BenchMachine bench;
  for (auto _ : state) kelvox::vm::runSlice(bench.m);
  state.SetItemsProcessed(state.iterations() * bench.m.instructionsPerTick);
}
BENCHMARK(VmSliceKelvox)->Name("VmSlice/kelvox");

void VmSliceNative(benchmark::State& state) {
  constexpr int kIterations = 100000 / 9;  // the same work as one slice
  uint32_t acc = 0, i = 0x7FFFFFFF;
  for (auto _ : state) {
    for (int n = 0; n < kIterations; ++n) {
      acc += i;
      --i;
      benchmark::DoNotOptimize(acc);
      benchmark::DoNotOptimize(i);
      if (i == 0) break;
    }
  }
  state.SetItemsProcessed(state.iterations() * kIterations * 9);
}
BENCHMARK(VmSliceNative)->Name("VmSlice/native");

void VmSliceLua(benchmark::State& state) {
  constexpr lua_Integer kIterations = 100000;
  constexpr int kBytecodesPerIteration = 4;
  lua_State* L = luaL_newstate();
  const char* chunk =
      "return function(n) local acc, i = 0, n\n"
      "repeat acc = acc + i; i = i - 1 until i == 0\n"
      "return acc end";
  if (luaL_loadstring(L, chunk) != LUA_OK || lua_pcall(L, 0, 1, 0) != LUA_OK) {
    state.SkipWithError("Lua chunk failed to load");
    lua_close(L);
    return;
  }
  for (auto _ : state) {
    lua_pushvalue(L, -1);
    lua_pushinteger(L, kIterations);
    lua_call(L, 1, 1);
    benchmark::DoNotOptimize(lua_tointeger(L, -1));
    lua_pop(L, 1);
  }
  lua_close(L);
  state.SetItemsProcessed(state.iterations() * kIterations * kBytecodesPerIteration);
}
BENCHMARK(VmSliceLua)->Name("VmSlice/lua");

}  // namespace
