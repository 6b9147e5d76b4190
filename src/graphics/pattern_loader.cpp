// Finding, recording, reading once, decoding and storing a picture file; single-colour patterns.
#include "graphics/pattern_loader.h"

#include <vector>

#include "common/fatal_error.h"
#include "graphics/decoded_image.h"
#include "graphics/pattern_store.h"
#include "graphics/picture_file.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "vm/system_file.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

namespace {

// "\name" into the seen list, and the list kept in Save\Sys at once. A Save\Sys that cannot
// be written is reported and the picture still loads. A name with CR or LF is not recorded:
// in Save\Sys it would read back as other entries.
void recordSeen(vm::MachineContext& m, std::string_view name) {
  if (!vm::SystemList::storable(name)) return;
  std::string entry = "\\" + std::string(name);
  if (!m.systemList.contains(entry)) m.systemList.add(entry);
  try {
    vm::writeSystemFile(m);
  } catch (const common::AppError& e) {
    if (m.report) m.report(e);
  }
}

}  // namespace

void LoadPattern(vm::MachineContext& m, PatternHandle& entry, int32_t mode, std::string_view name) {
  if (name.empty()) return;
  // The program's folder is the current folder, so "Grd\name" is the first place looked in.
  std::string path = "Grd\\" + std::string(name);
  // A name that would leave Grd\ is missing, whatever lies outside.
  if (!platform::isConfinedName(name)) raiseFatal(Fault::PictureMissing, path);
  // The place where the file is found is the one it is read from below (a host folder or a
  // disc image, through Paths).
  if (!m.platform.paths.isFile(path)) {
    std::string second = m.searchPath + path;
    if (!m.platform.paths.isFile(second)) raiseFatal(Fault::PictureMissing, path);
    path = second;
  }
  if (m.recordSeenImages == 1 && (name[0] == 'e' || name[0] == 'E')) recordSeen(m, name);
  // The same file in the same entry: kept as it is, mode and all.
  const TPatternRef* current = m.display ? findPattern(*m.display, entry) : nullptr;
  if (current && current->pattern && !current->pattern->name.empty() && current->pattern->name == path) return;
  displayOf(m);  // 53 before the file is read
  DecodedImage image = decodePicture(readPictureFile(m.platform.paths, path, name), name);
  const int32_t width = image.width(), height = image.height();
  TPatternRef* ref = replaceWithPixels(m, entry, image.takePixels(), width, height, mode);
  ref->pattern->name = path;
}

void GeneratePattern(vm::MachineContext& m, PatternHandle& entry, int32_t mode, uint32_t colour, int32_t width,
                     int32_t height) {
  displayOf(m);
  // A size that is not positive makes no surface (53), as DirectDraw refused it.
  // The pixels are made before the surface, so a hostile size is refused before it is
  // allocated, with the decoders' caps.
  if (!imageSizeAllowed(width, height)) raiseFatal(Fault::OffscreenCreate);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), colour);
  TPatternRef* ref = replaceWithPixels(m, entry, std::move(pixels), width, height, mode);
  ref->pattern->name.clear();
}

}  // namespace kelvox::graphics
