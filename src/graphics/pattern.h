// The pattern records: TPattern (an image held as one off-screen surface, with what is needed
// to redraw that surface after it is lost) and TPatternRef (what the machine's `patterns`
// table and the sprites hold). Both carry a tag that is checked before use and cleared on
// destruction.
//
// Stale references. A sprite keeps a PatternHandle, not a pointer: the handle names a slot of
// the display's PatternHandles table and the slot's generation at the time, so a sprite whose
// pattern was destroyed finds an empty or newer slot and never reads freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surfaces/surface.h"

namespace kelvox::graphics {

inline constexpr uint32_t kPatternRefTag = 0x22360679;
inline constexpr uint32_t kPatternTag = 0x306B8E61;

// What a text window leaves in a pattern that shows its text: it redraws the text into the
// pattern's surface after the surface was lost. The text subsystem implements it.
class PatternTextSnapshot {
 public:
  virtual ~PatternTextSnapshot() = default;
  // Draws the text into [context], the whole surface held through its device context (in
  // the surface's own pixel format). The surface has been cleared to 0 beforehand.
  virtual void drawInto(const platform::LockedArea& context) = 0;
};

struct TPatternRef;

struct TPattern {
  uint32_t tag = kPatternTag;
  std::unique_ptr<platform::Surface> surface;  // absent while surfaces are released
  int32_t width = 0, height = 0;
  int32_t drawMode = 0;  // 0 to 9, copied into every sprite that shows the pattern
  int32_t pitch = 0;     // bytes per row of [pixels]
  std::unique_ptr<PatternTextSnapshot> textSnapshot;  // when set, the surface is redrawn from it
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, width × height, rows without padding
  std::string name;              // the file it was loaded from, else empty
  TPatternRef* owner = nullptr;  // the ref that owns this record
};

// A slot number and the slot's generation when the handle was taken; {0, 0} is no pattern.
struct PatternHandle {
  uint32_t slot = 0;
  uint32_t generation = 0;
  constexpr bool operator==(const PatternHandle&) const = default;
};

struct TPatternRef {
  uint32_t tag = kPatternRefTag;
  TPattern* pattern = nullptr;  // owned
  PatternHandle handle;         // this ref's entry in the display's PatternHandles
};

// The table behind PatternHandle: one slot per live ref; a slot's generation goes up each time
// it is emptied, so old handles to it stop resolving. Slot 0 is never used.
class PatternHandles {
 public:
  PatternHandle add(TPatternRef* ref);
  // Empties [handle]'s slot if it still names it.
  void remove(PatternHandle handle);
  // The ref [handle] names, or null when it was removed (or never was).
  TPatternRef* find(PatternHandle handle) const;

 private:
  struct Slot {
    TPatternRef* ref = nullptr;
    uint32_t generation = 1;
  };
  std::vector<Slot> slots_{Slot{}};
  std::vector<uint32_t> free_;
};

}  // namespace kelvox::graphics
