// Group 0x8007. Operands are popped in the order the comments give; strings are data words.
// Every file is written through an AtomicFile (writeAppFile): a failed write is a file error
// the host shows in a box, the old file stays as it was, and a link, FIFO or device in the
// Save\ folder is never replaced. Save\ is made when a save or thumbnail is first written, as the
// original's teardown made it for Save\Sys. The files read there are the engine's own: a link
// is not followed, and each kind has a size cap checked before anything is read.
#include "save/save_group.h"

#include <algorithm>

#include "common/fatal_error.h"
#include "common/file_helpers.h"
#include "common/file_errors.h"
#include "graphics/display.h"
#include "graphics/pattern_store.h"
#include "platform/surfaces/bitmap.h"
#include "platform/surfaces/bmp_file.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "platform/text_encoding.h"
#include "save/save_dates.h"
#include "save/slot_names.h"
#include "save/stack_file.h"
#include "save/state_file.h"
#include "text/text_window.h"
#include "vm/data_memory.h"
#include "vm/instruction_set.h"
#include "vm/machine_context.h"
#include "vm/system_file.h"

namespace kelvox::save {
namespace {

bool exists(const vm::MachineContext& m, const std::string& name) {
  return platform::isRegularFile(m.platform.paths.resolve(name));
}

// Largest files read: a stack file holds two stacks; a thumbnail is at most the largest bitmap
// MakeThumbnail makes (bmp_file.h). A saved game's cap follows from the machine (stateFileCap).
constexpr uint64_t kMaxStackFileBytes = 1 << 20;

// The largest saved game of this machine: its data memory and two full stacks. A larger file
// cannot be one, and is refused (24) before any of it is read.
uint64_t stateFileCap(const vm::MachineContext& m) {
  return 16 + static_cast<uint64_t>(m.dataSize) + 8 * static_cast<uint64_t>(vm::kStackCapacity);
}

void loadState(vm::MachineContext& m, const std::string& name) {
  platform::ReadFailure failure;
  auto bytes = platform::readRegularFile(m.platform.paths.resolve(name), stateFileCap(m), &failure,
                                         platform::Links::Refuse);
  if (!bytes && failure.kind == platform::ReadFailure::Kind::TooLarge) common::raiseFatal(common::Fault::SaveFileDamaged);
  if (!bytes) common::raiseUnreadable(name, failure);
  applyState(m, *bytes);
}

// "Save\" + [name] for a stack file; a name that would leave Save\ is a file error.
std::string stackFileName(std::string_view name) {
  if (!platform::isConfinedName(name))
    common::raiseFileError(common::FileError::NameRefused, name);
  return "Save\\" + std::string(name);
}

// A stack file must exist before it is read or written, as the original opened it.
std::vector<uint8_t> readStackFile(const vm::MachineContext& m, const std::string& file) {
  if (!exists(m, file)) common::raiseFileError(common::FileError::StackFileMissing, file);
  return common::readAppFile(m.platform.paths, file, kMaxStackFileBytes, platform::Links::Refuse);
}

// Replaces pattern [pattern] of the machine's table with one made from [pixels] (rows of
// [width] words, unpadded). A number outside the table raises 31 naming [command].
void replacePattern(vm::MachineContext& m, int32_t pattern, const uint32_t* pixels, int32_t width, int32_t height,
                    int32_t mode, const char* command) {
  if (static_cast<uint32_t>(pattern) >= vm::kPatternCount) common::raiseFatal(common::Fault::PatternNumberRange, command);
  graphics::replaceWithPixels(m, m.patterns[static_cast<uint32_t>(pattern)], pixels, width, height, width * 4, mode);
}

void loadThumbnail(vm::MachineContext& m, int32_t mode, int32_t pattern, int32_t slot) {
  auto name = thumbnailFileName(slot);
  if (!name || !exists(m, *name)) return;
  auto bytes = common::readAppFile(m.platform.paths, *name, platform::kMaxBmpFileBytes, platform::Links::Refuse);
  auto bitmap = platform::decodeBmp(bytes);
  // Not a 24- or 32-bit picture: refused rather than misread.
  if (!bitmap) common::raiseFatal(common::Fault::PictureDamaged, *name);
  // The bitmap's rows are already top row first and unpadded, width × 4 bytes each.
  replacePattern(m, pattern, bitmap->pixels().data(), bitmap->width(), bitmap->height(), mode, "LoadThumbnail");
}

// The display's composition surface as a 32-bit bitmap of the screen's size; black when its
// device context cannot be had (or there is no display yet).
platform::Bitmap captureBackBuffer(const vm::MachineContext& m) {
  if (m.display == nullptr || m.display->BackBuffer() == nullptr) return platform::Bitmap(1, 1);
  platform::Surface& back = *m.display->BackBuffer();
  platform::Bitmap screen(m.display->width(), m.display->height());
  platform::LockedArea context;
  if (back.getDC(context) != platform::SurfaceResult::Ok) return platform::Bitmap(1, 1);
  int w = std::min(screen.width(), context.width), h = std::min(screen.height(), context.height);
  for (int y = 0; y < h; ++y) {
    uint32_t* row = screen.row(y);
    for (int x = 0; x < w; ++x) row[x] = platform::toXrgb8888(back.rawPixel(x, y), context.format);
  }
  back.releaseDC();
  return screen;
}

}  // namespace

void renderSaveLabel(text::TextWindow& w, platform::FontEngine& fonts, const std::string& faceName,
                     const std::string& label) {
  w.reset(16, 200, 20, 0xFFFFFF);
  w.setFaceName(faceName);
  w.clear();
  w.append(label);
  w.renderGrid(fonts, w.length());
}

int saveGroup(vm::MachineContext& m, uint32_t word) {
  auto pop = [&] { return m.paramStack.pop(); };
  auto& paths = m.platform.paths;
  switch (static_cast<vm::Op>(word)) {
    case vm::Op::LoadState: {  // slot
      auto name = stateFileName(pop());
      if (name && exists(m, *name)) loadState(m, *name);
      return 0;
    }
    case vm::Op::SaveState: {  // slot; pc is already the word after this one
      auto name = stateFileName(pop());
      if (name) {
        common::makeAppFolder(paths, "Save");
        common::writeAppFile(paths, *name, encodeState(m));
      }
      return 0;
    }
    case vm::Op::AuxGet:  // index -> 0: the original never made the table; reads see 0
      pop();
      m.paramStack.push(0);
      return 0;
    case vm::Op::AuxSet:  // index, value: ignored
      pop();
      pop();
      return 0;
    case vm::Op::LoadStacks: {  // name
      std::string file = stackFileName(vm::dataString(m, pop()));
      applyStacks(m, readStackFile(m, file));
      return 0;
    }
    case vm::Op::SaveStacks: {  // name
      std::string file = stackFileName(vm::dataString(m, pop()));
      auto old = readStackFile(m, file);
      common::writeAppFile(paths, file, encodeStacks(m, old));
      return 0;
    }
    case vm::Op::ImageSeen: {  // name -> 1 if "\name" is listed
      std::string key = platform::sjisToLower("\\" + std::string(vm::dataString(m, pop())));
      m.paramStack.push(m.systemList.contains(key) ? 1 : 0);
      return 0;
    }
    case vm::Op::SetSystemFlag: {  // name; Save\Sys is written every time, even for a known flag
      std::string name(vm::dataString(m, pop()));
      // A CR or LF would split the entry into other lines of Save\Sys: such a flag is refused
      // (a file error in a box) and nothing changes.
      if (!vm::SystemList::storable(name))
        common::raiseFileError(common::FileError::FlagNotStorable, name);
      m.systemList.add(platform::sjisToLower(":" + name));
      vm::writeSystemFile(m);
      return 0;
    }
    case vm::Op::SystemFlag: {  // name -> 1 if ":name" is listed
      std::string key = platform::sjisToLower(":" + std::string(vm::dataString(m, pop())));
      m.paramStack.push(m.systemList.contains(key) ? 1 : 0);
      return 0;
    }
    case vm::Op::SetSaveAtExit:  // flag
      m.saveSystemAtExit = pop();
      return 0;
    case vm::Op::SaveLabel: {  // pattern, slot
      int32_t pattern = pop();
      int32_t slot = pop();
      text::TextWindow label;
      renderSaveLabel(label, m.platform.fonts, m.fontName, saveLabelText(paths, slot));
      replacePattern(m, pattern, label.pixels(), label.width(), label.height(), 1, "SaveLabel");
      return 0;
    }
    case vm::Op::WasRestored:  // -> justRestored, which is then cleared
      m.paramStack.push(m.justRestored);
      m.justRestored = 0;
      return 0;
    case vm::Op::SaveMissing: {  // slot -> 1 if its saved game does not exist
      auto name = stateFileName(pop());
      m.paramStack.push(name && exists(m, *name) ? 0 : 1);
      return 0;
    }
    case vm::Op::SaveDate:  // slot -> second, minute, hour, day, month, year (year on top)
      for (int32_t v : saveDate(paths, pop())) m.paramStack.push(v);
      return 0;
    case vm::Op::MakeThumbnail: {  // height, width
      // Sides below 1 are taken as 1: an empty bitmap would make a BMP file that no reader
      // (LoadThumbnail included) takes as a picture. Larger sides are cut by Bitmap.
      int32_t height = std::max(pop(), 1);
      int32_t width = std::max(pop(), 1);
      m.thumbnail.reset();
      m.thumbnail = std::make_unique<platform::Bitmap>(width, height);
      // The back buffer as it is (nothing is composed first); black when it cannot be read.
      platform::Bitmap screen = captureBackBuffer(m);
      m.thumbnail->stretchFrom(screen);
      return 0;
    }
    case vm::Op::SaveThumbnail: {  // slot
      auto name = thumbnailFileName(pop());
      if (name && m.thumbnail) {
        common::makeAppFolder(paths, "Save");
        common::writeAppFile(paths, *name, platform::encodeBmp(*m.thumbnail));
      }
      return 0;
    }
    case vm::Op::LoadThumbnail: {  // mode, pattern, slot
      int32_t mode = pop();
      int32_t pattern = pop();
      loadThumbnail(m, mode, pattern, pop());
      return 0;
    }
    default:
      return 1;
  }
}

}  // namespace kelvox::save
