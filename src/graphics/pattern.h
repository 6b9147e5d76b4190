// The pattern records: TPattern (an image held as one off-screen surface, with what is needed
// to redraw that surface after it is lost) and TPatternRef (the record the machine's `patterns`
// table and the sprites name). Both carry a tag that is checked before use and cleared on
// destruction.
//
// Ownership. The display's pattern store owns every ref (slot_store.h), and a ref owns its
// pattern. The machine's table and the sprites keep PatternHandles, not pointers: a handle
// names a slot of the store and the slot's generation at the time, so a sprite or a table entry
// whose pattern was destroyed finds an empty or newer slot and never reads freed memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/surfaces/surface.h"
#include "vm/object_handle.h"

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
  // 0x00RRGGBB, width × height, rows without padding; empty for a blank pattern (all 0)
  std::vector<uint32_t> pixels;
  std::string name;              // the file it was loaded from, else empty
  TPatternRef* owner = nullptr;  // the ref that owns this record
};

// A pattern ref's slot in the display's pattern store and the slot's generation.
using PatternHandle = vm::ObjectHandle;

struct TPatternRef {
  uint32_t tag = kPatternRefTag;
  std::unique_ptr<TPattern> pattern;  // null once destroyed
  PatternHandle handle;               // this ref's slot in the display's pattern store
};

}  // namespace kelvox::graphics
