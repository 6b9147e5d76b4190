// A text window: a buffer of Shift-JIS text with its font height, colour, drop-shadow switch and
// pixel size, and its two renderers. renderGdi draws into any GlyphTarget (a pattern's surface)
// with a proportional line layout; renderGrid draws into its own 32-bit bitmap on a grid of
// half-width cells and copies the result into `pixels` (the save list's date labels). Glyphs
// come from the platform's FontEngine; a text window never draws onto the screen itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surfaces/bitmap.h"
#include "platform/font_engine.h"

namespace kelvox::text {

// The drop shadow's colour as a colour reference (red = green = blue = 0x20).
inline constexpr uint32_t kShadowColour = 0x00202020;
// The face of a new window, "ＭＳ ゴシック" in Shift-JIS.
inline constexpr std::string_view kDefaultFaceName = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
// Sides above this are cut to it: a script's bad size cannot ask for gigabytes of pixels.
inline constexpr int32_t kMaxSide = 4096;

// A script colour 0xRRGGBB as a colour reference 0x00BBGGRR; bits 24..31 are dropped.
constexpr uint32_t toColourRef(int32_t scriptColour) {
  auto v = static_cast<uint32_t>(scriptColour);
  return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
}
// A colour reference back as a source pixel 0x00RRGGBB, the form GlyphTargets take.
constexpr uint32_t toPixel(uint32_t colourRef) { return toColourRef(static_cast<int32_t>(colourRef)); }

class TextWindow {
 public:
  // Empties the text, takes the three sizes and the colour, clears the shadow and shownLength,
  // and releases the image.
  void reset(int32_t fontHeight, int32_t width, int32_t height, int32_t scriptColour);
  void setFaceName(std::string_view name) { faceName_ = name; }
  void clear() { text_.clear(); }
  void append(std::string_view bytes) { text_.append(bytes); }
  uint32_t length() const { return static_cast<uint32_t>(text_.size()); }
  // The grid renderer reads colour and height when it draws, so there is no canvas font to
  // keep in step here.
  void setColour(int32_t scriptColour) { colour_ = toColourRef(scriptColour); }
  void setFontHeight(int32_t h) { fontHeight_ = h; }
  void setShadow(int32_t flag) { shadow_ = flag; }

  // Draws the first [limit] bytes of the text (all of it for a limit past its end; a limit that
  // falls inside a two-byte character shows that character whole) into [dc]: lines broken at
  // carriage returns, each line one run drawn twice one pixel apart for a bold look, under a
  // shadow pass at (2, 1) when the shadow is on. Sets shownLength. Returns 0, or 1 when no
  // font can be had (nothing drawn).
  int renderGdi(platform::FontEngine& fonts, platform::GlyphTarget& dc, uint32_t limit);
  // Draws the first [limit] bytes on a grid of cells fontHeight / 2 wide into the window's
  // bitmap (black first) and copies it into pixels(). Control bytes other than a carriage
  // return are skipped.
  void renderGrid(platform::FontEngine& fonts, uint32_t limit);

  // The grid renderer's output: width × height pixels 0x00RRGGBB, rowBytes apart; null until
  // renderGrid or copyFrom made it.
  const uint32_t* pixels() const { return pixels_.empty() ? nullptr : pixels_.data(); }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }
  int32_t rowBytes() const { return width_ * 4; }
  void releaseImage();
  // Becomes a copy of [other]: text, sizes, colour, shadow, face, shownLength and its image.
  void copyFrom(const TextWindow& other);

  const std::string& text() const { return text_; }
  int32_t fontHeight() const { return fontHeight_; }
  uint32_t colour() const { return colour_; }  // colour reference 0x00BBGGRR
  int32_t shadow() const { return shadow_; }
  uint32_t shownLength() const { return shownLength_; }
  const std::string& faceName() const { return faceName_; }
  bool hasBitmap() const { return bitmap_ != nullptr; }

 private:
  std::string text_;
  int32_t fontHeight_ = 0;  // pixels: the font's cell height and the line pitch
  int32_t width_ = 0, height_ = 0;
  std::vector<uint32_t> pixels_;  // width × height once allocated; keeps that size until released
  uint32_t colour_ = 0;
  std::unique_ptr<platform::Bitmap> bitmap_;
  uint32_t shownLength_ = 0;
  std::string faceName_{kDefaultFaceName};
  int32_t shadow_ = 0;
};

}  // namespace kelvox::text
