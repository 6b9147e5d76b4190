// The font engine of both platforms (a window and headless alike, so tests draw real glyphs):
// faces found through fontconfig, glyphs rasterised by FreeType in monochrome, cached for all
// faces and heights together in one GlyphCache bounded in bytes.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/font_engine.h"
#include "platform/fonts/glyph_cache.h"

namespace kelvox::platform {

// Where a face lives: the file and the face's index inside it.
struct FaceFile {
  std::string path;
  int index = 0;
};

// Finds the file of [faceName] (UTF-8) through fontconfig. A match counts only if one of its
// family names is [faceName] (ignoring case) or it covers Japanese; otherwise the installed
// Japanese fixed-pitch face ("monospace" for the Japanese language) is taken. An empty name
// asks for that face directly. False when neither exists. (font_matching.cpp)
bool matchFace(const std::string& faceName, FaceFile& out);
// Lets go of fontconfig's configuration, which matchFace sets up again when next asked.
void releaseFaceMatching();

class FreeTypeFontEngine : public FontEngine {
 public:
  FreeTypeFontEngine();
  ~FreeTypeFontEngine() override;
  FreeTypeFontEngine(const FreeTypeFontEngine&) = delete;
  FreeTypeFontEngine& operator=(const FreeTypeFontEngine&) = delete;

  std::shared_ptr<Font> createFont(std::string_view faceName, int height) override;

 private:
  struct Library;
  std::shared_ptr<Library> library_;  // shared with the fonts, which may outlive the engine
  std::shared_ptr<GlyphCache> glyphs_ = std::make_shared<GlyphCache>();  // likewise
  std::map<std::string, FaceFile> faces_;  // Shift-JIS face name -> matched file
  std::map<std::pair<std::string, int>, std::shared_ptr<Font>> fonts_;  // (file path, height)
};

}  // namespace kelvox::platform
