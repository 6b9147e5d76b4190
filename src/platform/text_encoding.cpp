// Shift-JIS <-> UTF-8 through iconv's CP932 tables, and double-byte aware scanning.
#include "platform/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace kelvox::platform {
namespace {

// Runs iconv over [text]; on an invalid or unconvertible sequence calls [onBad] with the
// remaining input and the output so far, which returns how many input bytes to skip (0 = give up).
template <typename OnBad>
bool convert(const char* to, const char* from, std::string_view text, std::string& out, OnBad onBad) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  // Closed on every way out, memory running out in the buffers below included.
  struct Closer {
    iconv_t cd;
    ~Closer() { iconv_close(cd); }
  } closer{cd};
  out.clear();
  std::vector<char> buffer(text.size() * 4 + 16);
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  bool ok = true;
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), outPtr - buffer.data());
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) continue;
    size_t skip = onBad(std::string_view(in, inLeft), out);
    if (skip == 0) { ok = false; break; }
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  return ok;
}

}  // namespace

std::string sjisToUtf8(std::string_view text) {
  std::string out;
  convert("UTF-8", "CP932", text, out, [](std::string_view rest, std::string& o) -> size_t {
    o += "\xEF\xBF\xBD";
    // A lead byte with a bad trail: drop just the lead, so the trail is read again on its own.
    (void)rest;
    return 1;
  });
  return out;
}

std::optional<std::string> utf8ToSjis(std::string_view text) {
  std::string out;
  if (!convert("CP932", "UTF-8", text, out, [](std::string_view, std::string&) -> size_t { return 0; }))
    return std::nullopt;
  return out;
}

std::string toSjis(std::string_view utf8) {
  std::string out;
  convert("CP932", "UTF-8", utf8, out, [](std::string_view rest, std::string& o) -> size_t {
    o += '?';
    // Skip one whole UTF-8 sequence.
    unsigned char c = static_cast<unsigned char>(rest[0]);
    size_t n = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    return n <= rest.size() ? n : rest.size();
  });
  return out;
}

size_t findSjisChar(std::string_view text, char c, size_t from) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (i >= from && text[i] == c) return i;
    if (isSjisLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return std::string_view::npos;
}

size_t findLastSjisChar(std::string_view text, char c) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == c) found = i;
    if (isSjisLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return found;
}

bool endsWithSjisChar(std::string_view text, char c) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    last = i;
    if (isSjisLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return last != std::string_view::npos && last == text.size() - 1 && text[last] == c;
}

bool isUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t more;  // continuation bytes after this one
    if (c < 0x80)
      more = 0;
    else if (c >= 0xC2 && c <= 0xDF)
      more = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      more = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      more = 3;
    else
      return false;
    if (text.size() - i <= more) return false;
    for (size_t k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += more + 1;
  }
  return true;
}

std::string sjisToLower(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (isSjisLeadByte(c)) { ++i; continue; }
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + ('a' - 'A'));
  }
  return out;
}

std::string asciiToLower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

int sjisCompareNoCase(std::string_view a, std::string_view b) {
  std::string la = sjisToLower(a), lb = sjisToLower(b);
  return la.compare(lb);
}

}  // namespace kelvox::platform
