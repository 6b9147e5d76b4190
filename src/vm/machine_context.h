// The script machine's one state record. The engine host creates exactly one, hands it the
// subsystem objects it already made, and every instruction group works on it. Field names are
// the ones scripts' documentation uses throughout.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/fatal_error.h"
#include "platform/surfaces/bitmap.h"
#include "platform/surfaces/surface.h"
#include "vm/groups.h"
#include "vm/system_list.h"
#include "vm/value_stack.h"

namespace kelvox::platform {
struct Platform;
}
namespace kelvox::common {
class ListenerRegistry;
}
namespace kelvox::graphics {
class TDisplay;
struct TSprite;
struct TPatternRef;
}  // namespace kelvox::graphics
namespace kelvox::text {
class TextHook;
class TextWindow;
}
namespace kelvox::sound {
class CdAudio;
class MidiPlayer;
class WavPlayer;
}  // namespace kelvox::sound

namespace kelvox::vm {

class InputState;

inline constexpr int kStackCapacity = 1024;
inline constexpr int kSpriteCount = 1024;
inline constexpr int kPatternCount = 1024;
inline constexpr int kEffectCount = 12;
inline constexpr int kTextWindowCount = 1024;

struct MachineContext;

// The text subsystem's share of start-up and teardown, put in by the shell with the groups
// (the machine knows no TextWindow): [create] fills textWindows, [release] empties it; each
// returns 0 on success.
struct TextWindowHooks {
  int (*create)(MachineContext& m) = nullptr;
  int (*release)(MachineContext& m) = nullptr;
};

// The sound subsystem's CD audio object, made and ended by the shell's hooks for the same
// reason: [create] sets cdAudio (false when it cannot be made), [destroy] ends it and clears it.
struct CdAudioHooks {
  bool (*create)(MachineContext& m) = nullptr;
  void (*destroy)(MachineContext& m) = nullptr;
};

// The frame loop's presentation states (transitionState). Group 0x800C walks a transition
// through them; the frame loop does one state's work per tick.
enum PresentationState : uint8_t {
  kPresentFrame = 0,    // compose the changed region and show it (or skip a late frame)
  kCaptureBefore = 1,   // compose into the backup buffer: the picture before the transition
  kHoldScreen = 2,      // show nothing new while the script sets the transition up
  kCaptureAfter = 3,    // compose into the work buffer: the picture after; make the effect surfaces
  kShowTransition = 4,  // show the back buffer as the transition's steps draw it
};

struct MachineContext {
  explicit MachineContext(platform::Platform& platform);
  ~MachineContext();
  MachineContext(const MachineContext&) = delete;
  MachineContext& operator=(const MachineContext&) = delete;

  platform::Platform& platform;  // the services the groups reach the host through

  ValueStack paramStack;   // "PS": operands and results of every instruction
  ValueStack returnStack;  // "RS": return addresses of calls
  InputState* input = nullptr;              // borrowed from the host
  sound::MidiPlayer* midi = nullptr;        // borrowed
  graphics::TDisplay* display = nullptr;    // borrowed
  std::array<graphics::TSprite*, kSpriteCount> sprites{};      // 0 = empty
  std::array<graphics::TPatternRef*, kPatternCount> patterns{};
  std::array<text::TextWindow*, kTextWindowCount> textWindows{};  // owned, through textWindowHooks
  // Set by the shell: destroys what the graphics subsystem keeps in `sprites` and `patterns`
  // and empties the entries (the machine cannot name those types). Run by teardownMachine.
  void (*releasePictures)(MachineContext&) = nullptr;
  sound::WavPlayer* wav = nullptr;          // borrowed

  uint32_t frameDeadline = 0;  // ms on the clock: end of the current frame
  uint32_t framePeriod = 33;   // ms
  int32_t endRequested = 0;
  int32_t frameSkipEnabled = 1;
  int32_t frameWait = 0;       // no more instructions until the next tick's frame work
  int32_t drawnFrameWait = 0;  // no more instructions until a frame is presented
  int32_t skippedFrames = 0;
  int32_t saveSystemAtExit = 1;
  std::unique_ptr<int32_t[]> auxTable;  // only the save group allocates it
  int32_t dataSize = 0;                 // exact size of Script\Data.ssb
  uint8_t transitionState = kPresentFrame;  // a PresentationState; other values do nothing
  int8_t transitionEffect = 0;
  int32_t transitionStep = 0;
  // The pictures before and after a transition, made in state 3 and released by EndEffect.
  std::unique_ptr<platform::Surface> effectSurface1, effectSurface2;
  SystemList systemList;
  bool systemListReady = false;  // the list was set up (and Save\Sys read) by initMachine
  bool systemFileUnreadable = false;  // Save\Sys exists but could not be read: never replaced
  bool systemFileLost = false;  // teardown wanted to write Save\Sys and did not
  uint8_t screenMode = 1;  // 1 full screen, 0 window
  int32_t cursorAutoHide = 0;
  int32_t cursorVisible = 1;
  int32_t lastMouseX = 0, lastMouseY = 0;
  uint32_t lastMouseMoveTime = 0;
  uint32_t cursorHideDelay = 3000;  // ms of stillness before the cursor hides
  sound::CdAudio* cdAudio = nullptr;  // owned, through cdAudioHooks; listens for window messages
  std::vector<int32_t> effectStepCounts;  // steps of transition effect 0..11
  std::string searchPath;                 // Shift-JIS prefix of Grd\, Midi\, Wav\ names
  int32_t recordSeenImages = 1;
  int32_t justRestored = 0;
  std::string fontName;  // Shift-JIS face name for text windows
  std::unique_ptr<platform::Bitmap> thumbnail;  // the last MakeThumbnail's picture, or none
  std::vector<uint8_t> data;   // data memory, size rounded up to 4 bytes
  std::vector<uint32_t> code;  // code words
  std::vector<uint8_t> codeKeys;  // the slice loop's dispatch key of each code word (hot_ops.h)
  int32_t pc = 0;              // index in code of the next word
  int32_t instructionsPerTick = 100000;
  int32_t debugBoxOpen = 0;

  uint32_t randomState = 1;  // the runtime library's rand() state

  // What the host hands the machine besides the platform. Kept at the end of the record: in
  // front they push the stacks, code and data past the short offsets the slice loop's loads
  // use, which costs that loop about 15 % (kelvox-bench VmSlice).
  GroupTable groups;  // machineGroups(), then the subsystems' groups from the shell
  common::ListenerRegistry* listeners = nullptr;  // the host's, set before initMachine (CD notices)
  common::ErrorReport report;  // the host's: what the player must see while the work goes on
  TextWindowHooks textWindowHooks;  // from the shell, before initMachine
  CdAudioHooks cdAudioHooks;        // likewise
  text::TextHook* textHook = nullptr;  // the host's: what TextDraw showed, for platform.textSink

  // The steps of transition effect [index]; 0 outside 0..11.
  int effectSteps(int index) const;
};

// Loads the script image, creates the stacks, reads Save\Sys and Kelvox.ini; raises
// FatalError (or a file error naming the script file) on failure. Returns 0.
int initMachine(MachineContext& m, InputState* input, graphics::TDisplay* display, sound::MidiPlayer* midi,
                sound::WavPlayer* wav);
// Writes Save\Sys (when wanted) and releases everything the machine owns; safe on a partly
// initialised machine. A Save\Sys that cannot be written goes to the machine's report and the
// teardown goes on. Returns 0; raises FatalError on failure.
int teardownMachine(MachineContext& m);
// Reads Script\Code.ssb and the scrambled Script\Data.ssb into code and data. Returns 0.
int loadScriptImage(MachineContext& m);
inline int isEndRequested(const MachineContext& m) { return m.endRequested; }

}  // namespace kelvox::vm
