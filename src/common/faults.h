// Every fatal error of the game, one row each: code, name, message. The codes and texts are
// the ones players and script authors know from the original; the engine adds 7, 9, 22 and 23
// for script faults the original never checked, and 24 for a damaged saved game. A "{}" in a
// message stands for the one part that the raising site supplies (a file name, a command
// name, a number in hex).
//
// Several rows may share a code (the message tells them apart). One row's code is not fixed:
// the transition effector reports the rejected surface's bits per pixel as the code.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvox::common {

// The code of a row whose code the raising site supplies (raiseFatalCode).
inline constexpr int kCodeFromCaller = -1;

// The words for memory running out: rows 11 and 12, and any allocation that fails.
#define KELVOX_OUT_OF_MEMORY "メモリが不足しているようです"
inline constexpr std::string_view kOutOfMemoryMessage = KELVOX_OUT_OF_MEMORY;

// X(code, name, UTF-8 message)
#define KELVOX_FAULTS(X)                                                                              \
  /* the application and the engine host */                                                          \
  X(0, GameStart, "Gameの初期化に失敗しました")                                                       \
  X(1, GameEnd, "Gameの終了に失敗しました")                                                           \
  X(2, MachineStart, "スクリプト実行機能の初期化に失敗しました")                                      \
  X(3, MachineEnd, "スクリプト実行機能の後処理に失敗しました")                                        \
  X(4, InputStart, "入力デバイスの取得に失敗しました")                                                \
  X(5, InputEnd, "入力デバイスの取得に失敗しました")                                                  \
  X(56, DisplayStart, "スプライト機能の初期化に失敗しました")                                         \
  X(57, DisplayEnd, "スプライト機能の後処理に失敗しました")                                           \
  X(64, MidiStart, "DirectMusicの初期化に失敗しました")                                               \
  X(65, MidiEnd, "MIDI音源ドライバの後処理に失敗しました")                                            \
  X(69, WavStart, "DirectSoundの初期化に失敗しました")                                                \
  /* the script machine */                                                                           \
  X(6, CodeFileRead, "コードファイルの読み込みに失敗しました")                                        \
  X(7, OutsideCode, "コードの範囲外を実行しようとしました")                                           \
  X(8, CodeFileClose, "コードファイルのクローズに失敗しました")                                       \
  X(9, OutsideData, "データメモリの範囲外を参照しました")                                             \
  X(10, UndefinedInstruction, "命令番号{}は未定義です")                                               \
  X(11, ParamStackMemory, KELVOX_OUT_OF_MEMORY)                                                       \
  X(12, ReturnStackMemory, KELVOX_OUT_OF_MEMORY)                                                      \
  X(13, ParamStackRelease, "PSの後処理に失敗しました")                                                \
  X(14, ReturnStackRelease, "RSの後処理に失敗しました")                                               \
  X(18, TextWindowCreate, "テキストウインドウの生成に失敗しました")                                   \
  X(19, TextWindowRelease, "テキストウインドウの後処理に失敗しました")                                \
  X(22, DivideByZero, "ゼロで除算しようとしました")                                                   \
  X(23, DivideOverflow, "除算の結果が範囲を超えました")                                               \
  X(66, StackFull, "スクリプトの不正でスタックが満杯になりました")                                    \
  X(67, StackEmpty, "スクリプトの不正でスタックが空になりました")                                     \
  X(100, CdStart, "CDDA機能の初期化に失敗しました")                                                   \
  /* saved stacks */                                                                                 \
  X(20, StackFileRead, "PSファイルの読み込みに失敗しました")                                          \
  X(21, StackFileDamaged, "PSファイルに不正が見られます")                                             \
  /* saved games: the original read any file; this engine checks it before changing anything */     \
  X(24, SaveFileDamaged, "セーブファイルに不正が見られます")                                          \
  /* pictures, patterns and sprites */                                                               \
  X(15, PictureLoadStart, "グラフィックロードの準備に失敗しました")                                   \
  X(16, PictureLoadEnd, "グラフィックロードの後処理に失敗しました")                                   \
  X(17, PictureMissing, "{}が存在しませんでした")                                                     \
  X(17, PictureDamaged, "{}のフォーマットに不正が見られます")                                         \
  X(30, SpriteNumberRange, "{}に指定するスプライト番号の範囲オーバー")                                \
  X(31, PatternNumberRange, "{}に指定するパターン番号の範囲オーバー")                                 \
  X(35, DecoderStart, "ローダの初期化に失敗しました")                                                 \
  X(36, PictureDetails, "グラフィックデータの子細の取得に失敗しました")                               \
  X(37, PictureOpen, "グラフィックデータのオープンに失敗しました")                                    \
  X(38, PictureFormat, "グラフィックデータのフォーマットが未対応でした")                              \
  X(61, InvalidSprite, "無効なスプライトが指定されました")                                            \
  X(62, InvalidPatternPointer, "無効なパターンへのポインタが指定されました{}")                        \
  X(63, InvalidPattern, "無効なパターンが指定されました")                                             \
  /* the display and its surfaces */                                                                 \
  X(42, CooperativeLevel, "DirectDrawの協調レベルの設定に失敗しました")                               \
  X(44, PrimarySurface, "DirectDrawサーフェイスの生成に失敗しました")                                 \
  X(45, ClipperCreate, "DirectDrawクリッパの生成に失敗しました")                                      \
  X(46, ClipperAttach, "DirectDrawクリッパの割り当てに失敗しました")                                  \
  X(47, ClipperSet, "DirectDrawクリッパの設定に失敗しました")                                         \
  X(48, BackBuffer, "DirectDrawバックバッファの生成に失敗しました")                                   \
  X(49, UnsupportedScreenMode, "サポートしていないスクリーンモードにしようとしました")                \
  X(51, DisplayClass, "DirectDrawクラスの初期化に失敗しました")                                       \
  X(52, DisplayObject, "DirectDrawオブジェクトの生成に失敗しました")                                  \
  X(53, OffscreenCreate, "DirectDrawオフスクリーンサーフェイスの作成に失敗しました")                  \
  X(53, OffscreenRestore, "DirectDrawオフスクリーンサーフェイスのリストアに失敗しました")             \
  X(54, WorkBuffer, "ワークバッファの生成に失敗しました")                                             \
  X(54, EffectSurface2, "エフェクト用サーフェイス２の生成に失敗しました")                             \
  X(54, EffectSurface1, "エフェクト用サーフェイス１の生成に失敗しました")                             \
  X(55, BackupBuffer, "バックアップバッファの生成に失敗しました")                                     \
  X(kCodeFromCaller, EffectDepth, "TVisualEffector\r\nサポートされないビット深度のサーフェイスが渡されました")

enum class Fault {
#define KELVOX_FAULT_ENUM(code, name, message) name,
  KELVOX_FAULTS(KELVOX_FAULT_ENUM)
#undef KELVOX_FAULT_ENUM
};

struct FaultInfo {
  int code;  // kCodeFromCaller: given where it is raised
  std::string_view name;
  std::string_view utf8Message;
};

inline constexpr FaultInfo kFaults[] = {
#define KELVOX_FAULT_INFO(code, name, message) {code, #name, message},
    KELVOX_FAULTS(KELVOX_FAULT_INFO)
#undef KELVOX_FAULT_INFO
};
inline constexpr size_t kFaultCount = sizeof(kFaults) / sizeof(kFaults[0]);

constexpr const FaultInfo& faultInfo(Fault fault) { return kFaults[static_cast<size_t>(fault)]; }

// Every code fits the displayed form: the box shows the low 8 bits as a signed number.
constexpr bool codesFitTheBox() {
  for (const auto& f : kFaults)
    if (f.code != kCodeFromCaller && (f.code < 0 || f.code > 127)) return false;
  return true;
}
static_assert(codesFitTheBox(), "fault codes are 0..127");

}  // namespace kelvox::common
