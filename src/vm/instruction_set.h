// The script machine's whole instruction set, declared once. Every operation word is listed
// with its mnemonic and its effect on paramStack (values popped, values pushed; -1 where the
// instruction replaces the stack wholesale). The Op enum, the group handlers' switches, the
// assembler, the disassembler and the stack-effect checks all expand from this one list.
//
// Words with bit 31 clear are literals and never appear here. The upper half-word of an
// operation word selects its group (0x8000..0x800F); the lower half-word numbers the operation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kelvox::vm {

// X(word, mnemonic, pops, pushes)
#define KELVOX_INSTRUCTIONS(X)                                                   \
  /* 0x8000 core: memory, stack, jumps, calls, end, frame waits */               \
  X(0x80000000u, LoadWord, 1, 1)                                                 \
  X(0x80000001u, StoreWord, 2, 0)                                                \
  X(0x80000002u, LoadByte, 2, 1)                                                 \
  X(0x80000003u, StoreByte, 3, 0)                                                \
  X(0x80000004u, Dup, 1, 2)                                                      \
  X(0x80000005u, Over, 2, 3)                                                     \
  X(0x80000006u, Drop, 1, 0)                                                     \
  X(0x80000007u, Return, 0, 0)                                                   \
  X(0x80000008u, End, 0, 0)                                                      \
  X(0x80000009u, WaitFrame, 0, 0)                                                \
  X(0x8000000Au, Jump, 1, 0)                                                     \
  X(0x8000000Bu, JumpRelative, 1, 0)                                             \
  X(0x8000000Cu, Call, 1, 0)                                                     \
  X(0x8000000Du, CallRelative, 1, 0)                                             \
  X(0x8000000Eu, JumpIf, 2, 0)                                                   \
  X(0x8000000Fu, JumpRelativeIf, 2, 0)                                           \
  X(0x80000010u, JumpIfNot, 2, 0)                                                \
  X(0x80000011u, JumpRelativeIfNot, 2, 0)                                        \
  X(0x80000012u, Swap, 2, 2)                                                     \
  X(0x80000013u, WaitDrawnFrame, 0, 0)                                           \
  X(0x80000014u, DropReturns, 1, 0)                                              \
  /* 0x8001 integer arithmetic, logic, comparisons, shifts */                    \
  X(0x80010000u, Add, 2, 1)                                                      \
  X(0x80010001u, Sub, 2, 1)                                                      \
  X(0x80010002u, MulU, 2, 1)                                                     \
  X(0x80010003u, DivU, 2, 1)                                                     \
  X(0x80010004u, ModU, 2, 1)                                                     \
  X(0x80010005u, Or, 2, 1)                                                       \
  X(0x80010006u, And, 2, 1)                                                      \
  X(0x80010007u, Xor, 2, 1)                                                      \
  X(0x80010008u, Not, 1, 1)                                                      \
  X(0x80010009u, Neg, 1, 1)                                                      \
  X(0x8001000Au, Eq, 2, 1)                                                       \
  X(0x8001000Bu, Ne, 2, 1)                                                       \
  X(0x8001000Cu, LtU, 2, 1)                                                      \
  X(0x8001000Du, LeU, 2, 1)                                                      \
  X(0x8001000Eu, GtU, 2, 1)                                                      \
  X(0x8001000Fu, GeU, 2, 1)                                                      \
  X(0x80010010u, MulS, 2, 1)                                                     \
  X(0x80010011u, DivS, 2, 1)                                                     \
  X(0x80010012u, ModS, 2, 1)                                                     \
  X(0x80010013u, LtS, 2, 1)                                                      \
  X(0x80010014u, LeS, 2, 1)                                                      \
  X(0x80010015u, GtS, 2, 1)                                                      \
  X(0x80010016u, GeS, 2, 1)                                                      \
  X(0x80010017u, ShrU, 2, 1)                                                     \
  X(0x80010018u, Shl, 2, 1)                                                      \
  X(0x80010019u, ShrS, 2, 1)                                                     \
  /* 0x8002 random numbers, cursor, caption, frame clock */                      \
  X(0x80020000u, Random, 1, 1)                                                   \
  X(0x80020001u, ShowMouseCursor, 1, 0)                                          \
  X(0x80020002u, SetCursorAutoHide, 1, 0)                                        \
  X(0x80020003u, SetCaption, 1, 0)                                               \
  X(0x80020004u, SetCursorHideDelay, 1, 0)                                       \
  X(0x80020005u, ResetFrameClock, 0, 0)                                          \
  /* 0x8004 debug message boxes */                                               \
  X(0x80040000u, DebugShowNumber, 1, 0)                                          \
  X(0x80040001u, DebugShowString, 1, 0)                                          \
  X(0x80040002u, DebugShowStackDepth, 0, 0)                                      \
  /* 0x8005 mouse and keys */                                                    \
  X(0x80050000u, GetMouseX, 0, 1)                                                \
  X(0x80050001u, GetMouseY, 0, 1)                                                \
  X(0x80050002u, IsKeyDown, 1, 1)                                                \
  X(0x80050003u, SetCursorPosition, 2, 0)                                        \
  /* 0x8006 screen mode */                                                       \
  X(0x80060000u, SetScreenMode, 3, 0)                                            \
  X(0x80060001u, GetScreenMode, 0, 1)                                            \
  /* 0x8007 saved games and the system file */                                   \
  X(0x80070000u, LoadState, -1, -1)                                              \
  X(0x80070001u, SaveState, 1, 0)                                                \
  X(0x80070002u, AuxGet, 1, 1)                                                   \
  X(0x80070003u, AuxSet, 2, 0)                                                   \
  X(0x80070004u, LoadStacks, -1, -1)                                             \
  X(0x80070005u, SaveStacks, 1, 0)                                               \
  X(0x80070006u, ImageSeen, 1, 1)                                                \
  X(0x80070007u, SetSystemFlag, 1, 0)                                            \
  X(0x80070008u, SystemFlag, 1, 1)                                               \
  X(0x80070009u, SetSaveAtExit, 1, 0)                                            \
  X(0x8007000Au, SaveLabel, 2, 0)                                                \
  X(0x8007000Bu, WasRestored, 0, 1)                                              \
  X(0x8007000Cu, SaveMissing, 1, 1)                                              \
  X(0x8007000Du, SaveDate, 1, 6)                                                 \
  X(0x8007000Eu, MakeThumbnail, 2, 0)                                            \
  X(0x8007000Fu, SaveThumbnail, 1, 0)                                            \
  X(0x80070010u, LoadThumbnail, 3, 0)                                            \
  /* 0x8008 patterns and sprites */                                              \
  X(0x80080000u, SetSprite, 5, 0)                                                \
  X(0x80080001u, LoadPattern, 3, 0)                                              \
  X(0x80080002u, GeneratePattern, 5, 0)                                          \
  X(0x80080003u, DestroySprite, 1, 0)                                            \
  X(0x80080004u, SetSpriteRect, 5, 0)                                            \
  X(0x80080005u, SetAlphaRate, 2, 0)                                             \
  X(0x80080006u, SetSpriteEx, 11, 0)                                             \
  X(0x80080007u, SetSpriteRectEx, 7, 0)                                          \
  X(0x80080008u, DestroyPattern, 1, 0)                                           \
  X(0x80080009u, MakePackedPattern, 6, 0)                                        \
  X(0x8008000Au, SetViewRecording, 1, 0)                                         \
  X(0x8008000Bu, GetPatternSize, 1, 2)                                           \
  /* 0x8009 text windows */                                                      \
  X(0x80090000u, TextInit, 4, 0)                                                 \
  X(0x80090001u, TextClear, 1, 0)                                                \
  X(0x80090002u, TextAddString, 2, 0)                                            \
  X(0x80090003u, TextAddNumber, 2, 0)                                            \
  X(0x80090004u, TextLength, 1, 1)                                               \
  X(0x80090005u, TextDraw, 3, 0)                                                 \
  X(0x80090006u, TextColor, 2, 0)                                                \
  X(0x80090007u, TextSize, 2, 0)                                                 \
  X(0x80090008u, TextShadow, 2, 0)                                               \
  /* 0x800A MIDI music */                                                        \
  X(0x800A0000u, MidiPlayLoop, 1, 0)                                             \
  X(0x800A0001u, MidiStop, 0, 0)                                                 \
  X(0x800A0002u, MidiPlay, 1, 0)                                                 \
  X(0x800A0003u, MidiIsPlaying, 0, 1)                                            \
  X(0x800A0004u, MidiVolume, 1, 0)                                               \
  /* 0x800B WAV sounds */                                                        \
  X(0x800B0000u, WavPlay, 2, 0)                                                  \
  X(0x800B0001u, WavStop, 1, 0)                                                  \
  X(0x800B0002u, WavIsPlaying, 1, 1)                                             \
  X(0x800B0003u, WavMasterVolume, 1, 0)                                          \
  X(0x800B0004u, WavVolume, 2, 0)                                                \
  X(0x800B0005u, WavMasterPan, 1, 0)                                             \
  X(0x800B0006u, WavPan, 2, 0)                                                   \
  X(0x800B0007u, WavPlayLoop, 2, 0)                                              \
  /* 0x800C screen transitions */                                                \
  X(0x800C0000u, BeginEffect, 1, 0)                                              \
  X(0x800C0001u, PrepareEffect, 0, 0)                                            \
  X(0x800C0002u, GetEffectSteps, 0, 1)                                           \
  X(0x800C0003u, DrawEffect, 1, 0)                                               \
  X(0x800C0004u, EndEffect, 0, 0)                                                \
  /* 0x800D CD audio */                                                          \
  X(0x800D0000u, CdOpen, 1, 1)                                                   \
  X(0x800D0001u, CdPlayLoop, 1, 0)                                               \
  X(0x800D0002u, CdStop, 0, 0)                                                   \
  X(0x800D0003u, CdVolume, 1, 0)                                                 \
  X(0x800D0004u, CdPlay, 1, 0)                                                   \
  X(0x800D0005u, CdIsPlaying, 0, 1)                                              \
  /* 0x800E, 0x800F inert: consume operands, push 0 where listed */              \
  X(0x800E0000u, InertE0, 2, 0)                                                  \
  X(0x800E0001u, InertE1, 1, 0)                                                  \
  X(0x800E0002u, InertE2, 1, 1)                                                  \
  X(0x800E0003u, InertE3, 1, 0)                                                  \
  X(0x800E0004u, InertE4, 2, 0)                                                  \
  X(0x800E0005u, InertE5, 1, 0)                                                  \
  X(0x800E0006u, InertE6, 2, 0)                                                  \
  X(0x800E0007u, InertE7, 2, 0)                                                  \
  X(0x800F0000u, InertF0, 1, 0)                                                  \
  X(0x800F0001u, InertF1, 0, 0)                                                  \
  X(0x800F0002u, InertF2, 1, 0)                                                  \
  X(0x800F0003u, InertF3, 0, 1)                                                  \
  X(0x800F0004u, InertF4, 1, 0)                                                  \
  X(0x800F0005u, InertF5, 1, 0)

enum class Op : uint32_t {
#define KELVOX_OP_ENUM(word, name, pops, pushes) name = word,
  KELVOX_INSTRUCTIONS(KELVOX_OP_ENUM)
#undef KELVOX_OP_ENUM
};

struct InstructionInfo {
  uint32_t word;
  std::string_view mnemonic;
  int pops;    // -1: replaces the stack
  int pushes;  // -1: replaces the stack
};

inline constexpr InstructionInfo kInstructions[] = {
#define KELVOX_OP_INFO(word, name, pops, pushes) {word, #name, pops, pushes},
    KELVOX_INSTRUCTIONS(KELVOX_OP_INFO)
#undef KELVOX_OP_INFO
};
inline constexpr size_t kInstructionCount = sizeof(kInstructions) / sizeof(kInstructions[0]);

// Operation counts per group 0x8000..0x800F; 0x8003 is unassigned.
inline constexpr int kGroupSizes[16] = {21, 26, 6, 0, 3, 4, 2, 17, 12, 9, 5, 8, 5, 6, 8, 6};

constexpr int countInGroup(uint32_t group) {
  int n = 0;
  for (const auto& info : kInstructions) n += (info.word >> 16) == group ? 1 : 0;
  return n;
}
constexpr bool groupSizesMatch() {
  for (uint32_t g = 0; g < 16; ++g)
    if (countInGroup(0x8000 + g) != kGroupSizes[g]) return false;
  return true;
}
static_assert(groupSizesMatch(), "every group lists exactly its operations");
static_assert(kInstructionCount == 138, "the instruction set has 138 operations");

// The operation with [word], or nullptr when no group defines it.
const InstructionInfo* findInstruction(uint32_t word);
// The operation named [mnemonic] (case-sensitive), or nullptr.
const InstructionInfo* findInstruction(std::string_view mnemonic);

// Group 0x8000 + [group] has a handler (every group but 0x8003 and those past 0x800F).
constexpr bool isAssignedGroup(uint32_t group) {
  return group >= 0x8000 && group <= 0x800F && group != 0x8003;
}

}  // namespace kelvox::vm
