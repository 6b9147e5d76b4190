// Tokens, numbers and strings of assembly source. Columns count bytes from 1, so a column
// after Japanese text in the same line is a byte offset, as compilers report it.
#include "asm/source_lexer.h"

#include <algorithm>

#include "platform/text_encoding.h"

namespace kelvox::assembler {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Length of the UTF-8 sequence that starts at [text][0], or 0 if it is not a whole, well-formed
// sequence. Overlong forms and surrogates are left to the converter to refuse.
size_t utf8SequenceLength(std::string_view text) {
  unsigned char lead = static_cast<unsigned char>(text[0]);
  size_t n = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || n > text.size()) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 0;
  return n;
}

// Converts a run of UTF-8 text without escapes that starts at [column]. The whole run is tried
// first; only when it fails is it walked character by character to place the errors.
void convertRun(std::string_view run, int column, DecodedString& out) {
  if (run.empty()) return;
  if (auto sjis = platform::utf8ToSjis(run)) {
    out.bytes += *sjis;
    return;
  }
  // Built by appending: GCC 12 at -O3 warns (-Wrestrict) about "'" + std::string(x) + "'".
  auto quoted = [](std::string_view text) {
    std::string q = "'";
    q += text;
    q += '\'';
    return q;
  };
  for (size_t i = 0; i < run.size();) {
    int at = column + static_cast<int>(i);
    size_t n = utf8SequenceLength(run.substr(i));
    if (n == 0) {
      out.errors.push_back({at, "invalid UTF-8 in string"});
      ++i;
      continue;
    }
    std::string_view character = run.substr(i, n);
    if (auto sjis = platform::utf8ToSjis(character))
      out.bytes += *sjis;
    else
      out.errors.push_back({at, quoted(character) + " cannot be written in Shift-JIS"});
    i += n;
  }
}

}  // namespace

LineTokens tokenizeLine(std::string_view line) {
  LineTokens result;
  size_t i = 0;
  while (i < line.size()) {
    char c = line[i];
    int column = static_cast<int>(i) + 1;
    if (isBlank(c)) {
      ++i;
    } else if (c == ';') {
      break;
    } else if (c == ',') {
      result.tokens.push_back({Token::Kind::Comma, ",", column});
      ++i;
    } else if (c == '"') {
      size_t end = i + 1;
      while (end < line.size() && line[end] != '"') end += line[end] == '\\' ? 2 : 1;
      if (end >= line.size()) {
        // Keep the rest of the line as the string, so its directive does not report it missing.
        result.error = LexError{column, "unterminated string"};
        result.tokens.push_back({Token::Kind::String, std::string(line.substr(i + 1)), column});
        break;
      }
      result.tokens.push_back({Token::Kind::String, std::string(line.substr(i + 1, end - i - 1)), column});
      i = end + 1;
    } else {
      size_t end = i;
      while (end < line.size() && !isBlank(line[end]) && line[end] != ',' && line[end] != ';' && line[end] != '"')
        ++end;
      result.tokens.push_back({Token::Kind::Word, std::string(line.substr(i, end - i)), column});
      i = end;
    }
  }
  return result;
}

bool looksLikeNumber(std::string_view text) {
  if (!text.empty() && text[0] == '-') text.remove_prefix(1);
  return !text.empty() && isDigit(text[0]);
}

bool isIdentifier(std::string_view text) {
  if (text.empty() || !isLetter(text[0])) return false;
  for (char c : text)
    if (!isLetter(c) && !isDigit(c) && c != '.') return false;
  return true;
}

NumberValue parseNumber(std::string_view text) {
  bool negative = !text.empty() && text[0] == '-';
  if (negative) text.remove_prefix(1);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return {};
  // Accumulate in 64 bits and stop counting past 2^32: anything larger is out of range anyway.
  int64_t magnitude = 0;
  bool tooLarge = false;
  for (char c : text) {
    int digit = base == 16 ? hexDigit(c) : (isDigit(c) ? c - '0' : -1);
    if (digit < 0) return {};
    magnitude = magnitude * base + digit;
    if (magnitude > 0xFFFFFFFFll) {
      tooLarge = true;
      magnitude = 0x100000000ll;
    }
  }
  int64_t value = negative ? -magnitude : magnitude;
  if (tooLarge || value < -0x80000000ll) return {NumberValue::Status::OutOfRange, 0};
  return {NumberValue::Status::Ok, value};
}

DecodedString decodeString(std::string_view contents, int column) {
  DecodedString out;
  size_t runStart = 0;
  // [column] is the opening quote; contents[i] sits at column + 1 + i.
  auto at = [&](size_t i) { return column + 1 + static_cast<int>(i); };
  size_t i = 0;
  while (i < contents.size()) {
    if (contents[i] != '\\') {
      ++i;
      continue;
    }
    convertRun(contents.substr(runStart, i - runStart), at(runStart), out);
    char e = i + 1 < contents.size() ? contents[i + 1] : '\0';
    size_t length = 2;
    switch (e) {
      case '"': out.bytes += '"'; break;
      case '\\': out.bytes += '\\'; break;
      case 'n': out.bytes += '\n'; break;
      case 't': out.bytes += '\t'; break;
      case 'r': out.bytes += '\r'; break;
      case 'x': {
        int high = i + 2 < contents.size() ? hexDigit(contents[i + 2]) : -1;
        int low = i + 3 < contents.size() ? hexDigit(contents[i + 3]) : -1;
        if (high < 0 || low < 0) {
          out.errors.push_back({at(i), "'\\x' needs two hexadecimal digits"});
        } else {
          out.bytes += static_cast<char>(high * 16 + low);
          length = 4;
        }
        break;
      }
      default:
        out.errors.push_back({at(i), "unknown escape '\\" + std::string(1, e) + "'"});
        break;
    }
    i = std::min(i + length, contents.size());
    runStart = i;
  }
  convertRun(contents.substr(runStart), at(runStart), out);
  return out;
}

}  // namespace kelvox::assembler
