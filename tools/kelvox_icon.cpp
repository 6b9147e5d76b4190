// kelvox-icon: paints the program's icon for the hicolor theme and for the window. Run by the
// build; the same output on every run.
//   kelvox-icon THEME_DIR ICON_NAME WINDOW_ICON_SOURCE
// writes THEME_DIR/NxN/apps/ICON_NAME.png for each size a desktop asks for, and
// WINDOW_ICON_SOURCE, a C++ file that defines the window's icon (kWindowIconRgba, 64 × 64).
#include <cstdio>
#include <filesystem>
#include <string>

#include "demo_assets/files.h"
#include "demo_assets/icon.h"

using namespace kelvox::demo;
namespace fs = std::filesystem;

namespace {

constexpr int kThemeSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kWindowIconSize = 64;  // keep in step with platform/sdl/window_icon.h

int fail(const std::string& message) {
  std::fprintf(stderr, "kelvox-icon: %s\n", message.c_str());
  return 1;
}

std::string windowIconSource(const std::vector<uint8_t>& rgba) {
  std::string text =
      "// Made by kelvox-icon at build time: the window's icon, 64 x 64 RGBA.\n"
      "#include \"platform/sdl/window_icon.h\"\n\n"
      "namespace kelvox::platform::sdl {\n\n"
      "const unsigned char kWindowIconRgba[kWindowIconSize * kWindowIconSize * 4] = {\n";
  for (size_t i = 0; i < rgba.size(); ++i) {
    text += std::to_string(rgba[i]);
    text += (i + 1) % 24 == 0 ? ",\n" : ",";
  }
  return text + "};\n\n}  // namespace kelvox::platform::sdl\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return fail("usage: kelvox-icon THEME_DIR ICON_NAME WINDOW_ICON_SOURCE");
  const fs::path theme = argv[1];
  const std::string name = argv[2];
  std::string error;
  for (int size : kThemeSizes) {
    fs::path folder = theme / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) return fail("cannot make " + folder.string() + ": " + ec.message());
    if (!writePngWithAlpha(folder / (name + ".png"), paintIcon(size), size, size, error)) return fail(error);
  }
  std::string source = windowIconSource(paintIcon(kWindowIconSize));
  if (!writeBytes(argv[3], std::vector<uint8_t>(source.begin(), source.end()), error)) return fail(error);
  return 0;
}
