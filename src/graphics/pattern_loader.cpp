// Finding, recording, decoding and storing a picture file; single-colour patterns.
#include "graphics/pattern_loader.h"

#include <vector>

#include "common/fatal_error.h"
#include "graphics/decoded_image.h"
#include "graphics/image_format.h"
#include "graphics/jpeg_decoder.h"
#include "graphics/pattern_store.h"
#include "graphics/png_decoder.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/platform.h"
#include "vm/system_file.h"

namespace kelvox::graphics {

using common::Fault;
using common::raiseFatal;

namespace {

bool isFile(const vm::MachineContext& m, const std::string& path) {
  return platform::isRegularFile(m.platform.paths.resolve(path));
}

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

void LoadPattern(vm::MachineContext& m, TPatternRef*& entry, int32_t mode, std::string_view name) {
  if (name.empty()) return;
  // The program's folder is the current folder, so "Grd\name" is the first place looked in.
  std::string path = "Grd\\" + std::string(name);
  // A name that would leave Grd\ is missing, whatever lies outside.
  if (!platform::isConfinedName(name)) raiseFatal(Fault::PictureMissing, path);
  if (!isFile(m, path)) {
    std::string second = m.searchPath + path;
    if (!isFile(m, second)) raiseFatal(Fault::PictureMissing, path);
    path = second;
  }
  if (m.recordSeenImages == 1 && (name[0] == 'e' || name[0] == 'E')) recordSeen(m, name);
  // The same file in the same entry: kept as it is, mode and all.
  if (entry && entry->pattern && !entry->pattern->name.empty() && entry->pattern->name == path) return;
  if (m.display == nullptr) raiseFatal(Fault::OffscreenCreate);
  DecodedImage image;
  switch (DetectImageFormat(m.platform.paths, path)) {
    case ImageFormat::Jpeg: DecodeJpeg(image, m.platform.paths, path, name); break;
    case ImageFormat::Png: DecodePng(image, m.platform.paths, path, name); break;
    case ImageFormat::None: raiseFatal(Fault::PictureDamaged, name);
  }
  TPatternRef* old = entry;
  entry = nullptr;  // CreateFromPixels destroys the old one; the entry must not keep it
  entry = CreateFromPixels(*m.display, old, reinterpret_cast<const uint32_t*>(image.firstRow()), image.width(),
                           image.height(), image.pitch(), mode, false);
  entry->pattern->name = path;
  image.Release();
}

void GeneratePattern(vm::MachineContext& m, TPatternRef*& entry, int32_t mode, uint32_t colour, int32_t width,
                     int32_t height) {
  if (m.display == nullptr) raiseFatal(Fault::OffscreenCreate);
  // A size that is not positive makes no surface (53), as DirectDraw refused it.
  // The pixels are made before the surface, so a hostile size is refused before it is
  // allocated, with the decoders' caps.
  if (!imageSizeAllowed(width, height)) raiseFatal(Fault::OffscreenCreate);
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), colour);
  TPatternRef* old = entry;
  entry = nullptr;
  entry = CreateFromPixels(*m.display, old, pixels.data(), width, height, width * 4, mode, false);
  entry->pattern->name.clear();
}

}  // namespace kelvox::graphics
