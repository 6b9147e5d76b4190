// FreeType behind the Font interface: one face at one size per font, glyphs rendered in
// monochrome and kept in the engine's GlyphCache (bounded in bytes), then put out as runs of
// set pixels.
#include "platform/fonts/freetype_font_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <vector>

#include "platform/text_encoding.h"

namespace kelvox::platform {

struct FreeTypeFontEngine::Library {
  FT_Library ft = nullptr;
  Library() {
    if (FT_Init_FreeType(&ft) != 0) ft = nullptr;
  }
  ~Library() {
    if (ft) FT_Done_FreeType(ft);
  }
};

namespace {

constexpr int kDefaultCellHeight = 16;  // a height of 0 asks for "a default size"
constexpr int kMaxHeight = 1024;         // pixels; a script's wild size gets no font
constexpr size_t kMaxCachedFonts = 64;

bool isTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC); }

// The code point of one Shift-JIS character ([bytes], one or two of them), 0 if CP932 has none.
uint32_t codePointOf(std::string_view bytes) {
  std::string utf8 = sjisToUtf8(bytes);
  const auto* u = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t n = utf8.size();
  uint32_t cp = 0;
  if (n == 1 && u[0] < 0x80) cp = u[0];
  else if (n == 2 && (u[0] & 0xE0) == 0xC0) cp = (u[0] & 0x1Fu) << 6 | (u[1] & 0x3Fu);
  else if (n == 3 && (u[0] & 0xF0) == 0xE0) cp = (u[0] & 0x0Fu) << 12 | (u[1] & 0x3Fu) << 6 | (u[2] & 0x3Fu);
  else if (n == 4 && (u[0] & 0xF8) == 0xF0)
    cp = (u[0] & 0x07u) << 18 | (u[1] & 0x3Fu) << 12 | (u[2] & 0x3Fu) << 6 | (u[3] & 0x3Fu);
  return cp == 0xFFFD ? 0 : cp;
}

uint32_t nextFontId = 0;  // engine thread only; a font's glyphs are cached under its own id

class FreeTypeFont : public Font {
 public:
  FreeTypeFont(std::shared_ptr<void> library, std::shared_ptr<GlyphCache> cache, FT_Face face, int cellHeight,
               int ascent)
      : library_(std::move(library)), cache_(std::move(cache)), id_(++nextFontId), face_(face),
        cellHeight_(cellHeight), ascent_(ascent) {}
  ~FreeTypeFont() override { FT_Done_Face(face_); }

  int cellHeight() const override { return cellHeight_; }
  int halfWidth() const override { return cellHeight_ / 2; }

  int draw(GlyphTarget& target, int x, int y, std::string_view text, uint32_t colour) override {
    size_t i = 0;
    // Advances are positive: nothing right of the target's edge can show.
    while (i < text.size() && x < target.width()) {
      auto lead = static_cast<unsigned char>(text[i]);
      size_t k = 1;
      if (isSjisLeadByte(lead)) {
        if (i + 1 < text.size() && isTrailByte(static_cast<unsigned char>(text[i + 1]))) k = 2;
        else {  // a lead byte with no trail: an empty half cell
          x += halfWidth();
          ++i;
          continue;
        }
      }
      uint16_t code = k == 2 ? static_cast<uint16_t>(lead << 8 | static_cast<unsigned char>(text[i + 1])) : lead;
      int cellWidth = static_cast<int>(k) * halfWidth();
      put(target, glyph(code, text.substr(i, k), cellWidth), x, y, colour);
      x += cellWidth;
      i += k;
    }
    return x;
  }

 private:
  // The glyph of [code], from the cache or rendered into it; good until the next glyph().
  const Glyph& glyph(uint16_t code, std::string_view bytes, int cellWidth) {
    if (const Glyph* found = cache_->find(id_, code)) return *found;
    return cache_->insert(id_, code, render(bytes, cellWidth));
  }

  Glyph render(std::string_view bytes, int cellWidth) {
    Glyph g;
    uint32_t cp = codePointOf(bytes);
    FT_UInt index = cp ? FT_Get_Char_Index(face_, cp) : 0;
    if (index == 0 || FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
      return g;  // nothing to draw
    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    // Fixed pitch: a face whose own advance differs from the cell is centred in it.
    int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = (cellWidth - advance) / 2 + slot->bitmap_left;
    g.top = ascent_ - slot->bitmap_top;
    g.width = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.set.assign(static_cast<size_t>(g.width) * g.rows, 0);
    for (int r = 0; r < g.rows; ++r) {
      const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
      for (int c = 0; c < g.width; ++c) {
        bool ink = bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[c >> 3] >> (7 - (c & 7))) & 1
                   : bm.pixel_mode == FT_PIXEL_MODE_GRAY ? row[c] >= 128
                                                         : false;
        // Ink outside the cell's rows (rounding of the face's metrics) would reach the next
        // line, which Windows' cell never does.
        bool inCell = g.top + r >= 0 && g.top + r < cellHeight_;
        g.set[static_cast<size_t>(r) * g.width + c] = ink && inCell;
      }
    }
    return g;
  }

  // Puts [g]'s ink with its cell at (x, y), as runs clipped to [target].
  static void put(GlyphTarget& target, const Glyph& g, int x, int y, uint32_t colour) {
    for (int r = 0; r < g.rows; ++r) {
      int py = y + g.top + r;
      if (py < 0 || py >= target.height()) continue;
      const uint8_t* row = g.set.data() + static_cast<size_t>(r) * g.width;
      int c = 0;
      while (c < g.width) {
        if (!row[c]) { ++c; continue; }
        int start = c;
        while (c < g.width && row[c]) ++c;
        int from = std::max(x + g.left + start, 0);
        int to = std::min(x + g.left + c, target.width());
        if (to > from) target.putRun(from, py, to - from, colour);
      }
    }
  }

  std::shared_ptr<void> library_;  // keeps FreeType alive as long as the face
  std::shared_ptr<GlyphCache> cache_;  // the engine's, shared by its fonts; by (id_, Shift-JIS code)
  uint32_t id_;
  FT_Face face_;
  int cellHeight_;
  int ascent_;  // pixels from the cell's top to the baseline
};

}  // namespace

namespace {
int liveEngines = 0;  // the engine thread's only; fontconfig is let go with the last engine
}

FreeTypeFontEngine::FreeTypeFontEngine() : library_(std::make_shared<Library>()) { ++liveEngines; }

FreeTypeFontEngine::~FreeTypeFontEngine() {
  // fontconfig keeps its configuration for the whole process unless told; let go of it so a
  // run ends with nothing held (and the leak checker of the sanitizer builds stays quiet).
  if (--liveEngines == 0) releaseFaceMatching();
}

std::shared_ptr<Font> FreeTypeFontEngine::createFont(std::string_view faceName, int height) {
  if (!library_->ft) return nullptr;
  std::string name(faceName);
  auto face = faces_.find(name);
  if (face == faces_.end()) {
    FaceFile file;
    if (!matchFace(sjisToUtf8(name), file)) return nullptr;
    face = faces_.emplace(name, file).first;
  }
  if (height == 0) height = kDefaultCellHeight;
  if (height > kMaxHeight || height < -kMaxHeight) return nullptr;
  auto key = std::make_pair(face->second.path + "#" + std::to_string(face->second.index), height);
  auto cached = fonts_.find(key);
  if (cached != fonts_.end()) return cached->second;

  FT_Face ftFace = nullptr;
  if (FT_New_Face(library_->ft, face->second.path.c_str(), face->second.index, &ftFace) != 0) return nullptr;
  // A positive height is the cell (ascender plus descender), as Windows takes it; a negative
  // one is the em.
  FT_Size_RequestRec request{};
  request.type = height > 0 ? FT_SIZE_REQUEST_TYPE_CELL : FT_SIZE_REQUEST_TYPE_NOMINAL;
  request.height = static_cast<FT_Long>(height > 0 ? height : -height) * 64;
  if (FT_Request_Size(ftFace, &request) != 0) {
    FT_Done_Face(ftFace);
    return nullptr;
  }
  const FT_Size_Metrics& metrics = ftFace->size->metrics;
  int cell = height > 0 ? height : static_cast<int>((metrics.ascender - metrics.descender + 32) >> 6);
  // The baseline splits the cell as the face's ascender and descender split it.
  int ascent = cell;
  if (ftFace->ascender - ftFace->descender > 0)
    ascent = static_cast<int>((int64_t{cell} * ftFace->ascender * 2 + (ftFace->ascender - ftFace->descender)) /
                              (2 * int64_t{ftFace->ascender - ftFace->descender}));
  if (fonts_.size() >= kMaxCachedFonts) fonts_.clear();
  auto font = std::make_shared<FreeTypeFont>(library_, glyphs_, ftFace, cell, ascent);
  fonts_.emplace(key, font);
  return font;
}

}  // namespace kelvox::platform
