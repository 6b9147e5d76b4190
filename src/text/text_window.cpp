// The text window's two renderers and its image. The line scan of renderGdi and the cell scan
// of renderGrid differ on purpose: the first draws line feeds and other control bytes as
// characters, the second skips them.
#include "text/text_window.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace kelvox::text {

void TextWindow::reset(int32_t fontHeight, int32_t width, int32_t height, int32_t scriptColour) {
  text_.clear();
  colour_ = toColourRef(scriptColour);
  fontHeight_ = fontHeight;
  width_ = std::clamp(width, 0, kMaxSide);
  height_ = std::clamp(height, 0, kMaxSide);
  shadow_ = 0;
  shownLength_ = 0;
  releaseImage();
}

int TextWindow::renderGdi(platform::FontEngine& fonts, platform::GlyphTarget& dc, uint32_t limit) {
  std::shared_ptr<platform::Font> font = fonts.createFont(faceName_, fontHeight_);
  if (!font) return 1;
  struct Pass {
    int x, y;
    uint32_t colour;
  };
  Pass passes[2];
  int passCount = 0;
  if (shadow_ != 0) passes[passCount++] = {2, 1, kShadowColour};
  passes[passCount++] = {0, 0, colour_};
  const uint32_t n = std::min(limit, length());  // unsigned: a negative limit means all
  shownLength_ = n;
  const std::string_view text(text_);
  for (int p = 0; p < passCount; ++p) {
    const Pass& pass = passes[p];
    const uint32_t pixel = toPixel(pass.colour);
    int64_t y = pass.y;  // many lines of a large font run far below any surface
    size_t lineStart = 0, count = 0;
    bool trail = false;
    // Draws the line's [count] bytes (cut at the text's end: a lead byte counted its trail) twice.
    auto flush = [&] {
      if (count == 0 || y >= dc.height() || y < -2048) return;  // a cell is at most 1024 pixels tall
      std::string_view run = text.substr(lineStart, count);
      font->draw(dc, pass.x + 1, static_cast<int>(y), run, pixel);
      font->draw(dc, pass.x, static_cast<int>(y), run, pixel);
    };
    for (uint32_t i = 0; i < n; ++i) {
      auto b = static_cast<unsigned char>(text[i]);
      if (b == 0) break;
      if (b == 0x0D) {
        flush();
        y += fontHeight_;
        lineStart = i + 1;
        count = 0;
      } else if (trail) {
        trail = false;  // already counted with its lead byte
      } else if (platform::isSjisLeadByte(b)) {
        trail = true;
        count += 2;
      } else {
        count += 1;
      }
    }
    flush();
  }
  return 0;
}

void TextWindow::renderGrid(platform::FontEngine& fonts, uint32_t limit) {
  if (!bitmap_) bitmap_ = std::make_unique<platform::Bitmap>();
  if (pixels_.empty()) pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  bitmap_->resize(width_, height_);
  std::shared_ptr<platform::Font> font = fonts.createFont(faceName_, fontHeight_);
  const uint32_t n = std::min(limit, length());
  const uint32_t pixel = toPixel(colour_);
  const int cell = fontHeight_ / 2;
  int column = 0, row = 0;
  bool trail = false;
  for (uint32_t i = 0; i < n; ++i) {
    auto b = static_cast<unsigned char>(text_[i]);
    if (b < 0x20) {
      if (b == 0) break;
      if (b == 0x0D) column = 0, ++row;
      continue;
    }
    if (trail) {
      trail = false;
      ++column;
      continue;
    }
    size_t k = 1;
    if (platform::isSjisLeadByte(b)) k = 2, trail = true;
    if (font) {
      std::string_view character = std::string_view(text_).substr(i, k);
      for (int d = 0; d < 2; ++d) font->draw(*bitmap_, column * cell + d, row * fontHeight_, character, pixel);
    }
    ++column;
  }
  // pixels kept the size it was made with; the bitmap has the current one.
  const int w = std::min(width_, bitmap_->width());
  for (int y = 0; y < std::min(height_, bitmap_->height()); ++y)
    std::copy_n(bitmap_->row(y), w, pixels_.data() + static_cast<size_t>(y) * width_);
}

void TextWindow::releaseImage() {
  pixels_.clear();
  pixels_.shrink_to_fit();
  bitmap_.reset();
}

void TextWindow::copyFrom(const TextWindow& other) {
  if (&other == this) return;
  releaseImage();
  text_ = other.text_;
  fontHeight_ = other.fontHeight_;
  width_ = other.width_;
  height_ = other.height_;
  colour_ = other.colour_;
  shadow_ = other.shadow_;
  faceName_ = other.faceName_;
  shownLength_ = other.shownLength_;
  bitmap_ = other.bitmap_ ? std::make_unique<platform::Bitmap>(*other.bitmap_) : std::make_unique<platform::Bitmap>();
  if (!other.pixels_.empty()) pixels_ = other.pixels_;
}

}  // namespace kelvox::text
