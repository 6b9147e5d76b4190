// Escaping for the installer's terminal output.
#include "installer/terminal_text.h"

namespace kelvox::installer {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendHexByte(std::string& out, unsigned char c) {
  out += "\\x";
  out += kHex[c >> 4];
  out += kHex[c & 0xF];
}

// Length of the valid UTF-8 sequence at [text][i], or 0.
size_t sequenceLength(std::string_view text, size_t i) {
  auto c = static_cast<unsigned char>(text[i]);
  size_t length = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : (c & 0xF0) == 0xE0 ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k)
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  auto second = static_cast<unsigned char>(text[i + 1 < text.size() ? i + 1 : i]);
  // Overlong forms and surrogates are not UTF-8 either.
  if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) || (c == 0xF0 && second < 0x90) ||
      (c == 0xF4 && second >= 0x90))
    return 0;
  return length;
}

}  // namespace

std::string terminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    size_t length = sequenceLength(text, i);
    if (length == 0) {
      appendHexByte(out, c);
      ++i;
      continue;
    }
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c < 0x20 || c == 0x7F) appendHexByte(out, c);
    else if (c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
      out += "\\u00";
      out += kHex[static_cast<unsigned char>(text[i + 1]) >> 4];
      out += kHex[static_cast<unsigned char>(text[i + 1]) & 0xF];
    } else {
      out.append(text.substr(i, length));
    }
    i += length;
  }
  return out;
}

}  // namespace kelvox::installer
