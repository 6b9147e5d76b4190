// Fonts for the text windows: the stand-in for the GDI fonts and text output of the original.
// A font is a face at a cell height, drawn monochrome (no anti-aliasing) at fixed pitch: a
// single-byte character takes half the width of a double-byte one, whatever the face's own
// advances. Text is Shift-JIS (code page 932) bytes, decoded one character at a time.
//
// The engine sees only these two interfaces; FreeType and fontconfig stay behind them
// (freetype_font_engine.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/glyph_target.h"

namespace kelvox::platform {

class Font {
 public:
  virtual ~Font() = default;

  // The height of a character cell in pixels (the line pitch a caller should use).
  virtual int cellHeight() const = 0;
  // The advance of a single-byte character in pixels; a double-byte character takes twice it.
  virtual int halfWidth() const = 0;

  // Draws Shift-JIS [text] as one run whose first cell has its top-left corner at (x, y), in
  // [colour] (0x00RRGGBB), clipped to [target]; returns the x after the run (drawing stops at
  // the target's right edge, and the x reached there is returned). Two bytes form one
  // character when the first passes the lead-byte test (0x81..0x9F, 0xE0..0xFC) and the second
  // is a valid trail byte (0x40..0x7E, 0x80..0xFC); the half-width katakana 0xA1..0xDF are single
  // bytes. A lead byte without a valid trail (also one at the end of [text]) takes one
  // half-width cell and draws nothing; the byte after it is read on its own. Nothing past the
  // end of [text] is ever read. Characters the face lacks advance and draw nothing.
  virtual int draw(GlyphTarget& target, int x, int y, std::string_view text, uint32_t colour) = 0;
};

class FontEngine {
 public:
  virtual ~FontEngine() = default;

  // A font of the face named [faceName] (Shift-JIS; empty asks for the default face) with the
  // Windows meaning of [height]: positive is the cell height in pixels, negative the character
  // (em) height, 0 a default of 16-pixel cells; heights beyond ±1024 get no font. When no installed face fits the name, the
  // engine's Japanese fixed-pitch face stands in; nullptr only when no usable face is installed.
  // Fonts are shared and keep their glyphs cached, so asking again for the same face and
  // height every frame costs a lookup.
  virtual std::shared_ptr<Font> createFont(std::string_view faceName, int height) = 0;
};

}  // namespace kelvox::platform
