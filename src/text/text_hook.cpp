// Deciding what a TextDraw showed, and its text as UTF-8.
#include "text/text_hook.h"

#include <string_view>

#include "platform/text_encoding.h"

namespace kelvox::text {

namespace {

// The bytes a draw limited to [limit] shows of [visible] (text up to its first NUL): a limit
// that falls inside a two-byte character shows that character whole, as renderGdi draws it.
std::string_view shownPart(std::string_view visible, uint32_t limit) {
  size_t end = 0;
  while (end < visible.size() && end < limit)
    end += platform::isSjisLeadByte(static_cast<unsigned char>(visible[end])) ? 2 : 1;
  return visible.substr(0, std::min(end, visible.size()));
}

// [sjis] in UTF-8, lines broken at carriage returns (a line feed right after one belongs to
// the break), without breaks at either end.
std::string utf8Lines(std::string_view sjis) {
  std::string out;
  size_t start = 0;
  while (start <= sjis.size()) {
    size_t end = sjis.find('\r', start);
    if (end == std::string_view::npos) end = sjis.size();
    if (!out.empty() || end > start) {
      if (!out.empty()) out += '\n';
      out += platform::sjisToUtf8(sjis.substr(start, end - start));
    }
    start = end + 1;
    if (start < sjis.size() && sjis[start] == '\n') ++start;
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace

std::optional<std::string> TextHook::drawn(int index, const TextWindow& w, uint32_t limit) {
  if (index < 0 || index >= vm::kTextWindowCount) return std::nullopt;
  std::string_view text = w.text();
  std::string_view visible = text.substr(0, text.find('\0'));
  std::string_view shown = shownPart(visible, limit);
  std::string& handed = handedOut_[static_cast<size_t>(index)];
  // Showing less than was handed out starts a new text: it counts again when shown whole,
  // even if it is the same one (a line that is said twice).
  if (!shown.starts_with(handed)) handed.clear();
  if (shown.size() < visible.size() || shown == handed) return std::nullopt;
  std::string fresh = utf8Lines(shown.substr(handed.size()));
  handed = shown;
  if (fresh.empty()) return std::nullopt;
  return fresh;
}

}  // namespace kelvox::text
