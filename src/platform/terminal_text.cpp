// Escaping control characters for terminal output.
#include "platform/terminal_text.h"

#include <cstdint>
#include <cstdio>

namespace kelvox::platform {

namespace {

void appendEscape(std::string& out, const char* format, unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, format, value);
  out += text;
}

// The length of the valid UTF-8 sequence at [s] (1 to 4), or 0 if there is none.
size_t sequenceLength(std::string_view s) {
  auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  auto continuation = [&](size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
  uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (!continuation(1) || !continuation(2)) return 0;
    uint32_t cp = (lead & 0x0Fu) << 12 | (byte(1) & 0x3Fu) << 6 | (byte(2) & 0x3Fu);
    return cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
    uint32_t cp = (lead & 0x07u) << 18 | (byte(1) & 0x3Fu) << 12 | (byte(2) & 0x3Fu) << 6 | (byte(3) & 0x3Fu);
    return cp >= 0x10000 && cp <= 0x10FFFF ? 4 : 0;
  }
  return 0;
}

}  // namespace

std::string escapeControls(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    auto lead = static_cast<uint8_t>(utf8[i]);
    size_t length = sequenceLength(utf8.substr(i));
    if (length == 0 || (length == 1 && (lead < 0x20 || lead == 0x7F))) {
      appendEscape(out, "\\x%02X", lead);
      ++i;
      continue;
    }
    if (length == 2 && lead == 0xC2 && static_cast<uint8_t>(utf8[i + 1]) < 0xA0) {
      appendEscape(out, "\\u%04X", static_cast<uint8_t>(utf8[i + 1]));  // U+0080..U+009F
      i += 2;
      continue;
    }
    out.append(utf8.substr(i, length));
    i += length;
  }
  return out;
}

}  // namespace kelvox::platform
