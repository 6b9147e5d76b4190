// Listing of a script image. Only what reads back exactly is shown as text: a candidate string
// is converted to UTF-8 and back, and anything that does not return the same Shift-JIS bytes
// (undefined codes, the duplicate NEC/IBM characters) stays in .word form.
#include "asm/disassembler.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "platform/text_encoding.h"
#include "vm/instruction_set.h"

namespace kelvox::assembler {
namespace {

// .word lines hold at most this many words.
constexpr size_t kWordsPerLine = 4;
// Shorter printable runs are more likely numbers than text ("A\0\0\0" is 65).
constexpr size_t kMinStringBytes = 2;
// Longer runs are shown as words; the bound keeps the listing of odd data linear in its size.
constexpr size_t kMaxStringBytes = 4096;
// Column (0-based) where the note on a code line starts.
constexpr size_t kNoteColumn = 28;

std::string indexMark(size_t index, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*zu:  ", width, index);
  return buffer;
}

std::string hexWord(uint32_t word) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", word);
  return buffer;
}

int widthFor(size_t count) {
  int width = 4;
  for (size_t limit = 10000; count > limit && width < 20; limit *= 10) ++width;
  return width;
}

uint8_t byteAt(std::span<const uint8_t> data, size_t i) { return i < data.size() ? data[i] : 0; }

bool isTrailByte(uint8_t c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// The length of the printable Shift-JIS text at [start], up to its NUL, or nullopt if a byte
// on the way is not printable or there is no NUL.
std::optional<size_t> printableLength(std::span<const uint8_t> data, size_t start) {
  size_t i = start;
  while (i < data.size() && i - start <= kMaxStringBytes) {
    uint8_t c = data[i];
    if (c == 0) return i - start;
    if (platform::isSjisLeadByte(c)) {
      if (i + 1 >= data.size() || !isTrailByte(data[i + 1])) return std::nullopt;
      i += 2;
    } else if ((c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r' || (c >= 0xA1 && c <= 0xDF)) {
      ++i;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

struct StringAt {
  std::string utf8;
  size_t words = 0;  // whole words taken: the text, its NUL and the zero padding after it
};

// The string that starts at data word [word], if it reads back exactly and the bytes after its
// NUL up to the next word are zero (as .string and the next label would write them).
std::optional<StringAt> stringAt(std::span<const uint8_t> data, size_t word) {
  size_t start = word * 4;
  std::optional<size_t> length = printableLength(data, start);
  if (!length || *length < kMinStringBytes) return std::nullopt;
  size_t end = start + *length + 1;
  size_t next = (end + 3) & ~size_t{3};
  for (size_t i = end; i < next; ++i)
    if (byteAt(data, i) != 0) return std::nullopt;
  std::string sjis(reinterpret_cast<const char*>(data.data() + start), *length);
  std::string utf8 = platform::sjisToUtf8(sjis);
  if (platform::utf8ToSjis(utf8) != sjis) return std::nullopt;
  return StringAt{utf8, (next - start) / 4};
}

std::string quotedString(std::string_view utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

uint32_t wordAt(std::span<const uint8_t> data, size_t word) {
  size_t b = word * 4;
  return byteAt(data, b) | byteAt(data, b + 1) << 8 | byteAt(data, b + 2) << 16 |
         static_cast<uint32_t>(byteAt(data, b + 3)) << 24;
}

// Whole zero words starting at [word].
size_t zeroWords(std::span<const uint8_t> data, size_t word) {
  size_t n = 0;
  while ((word + n + 1) * 4 <= data.size() && wordAt(data, word + n) == 0) ++n;
  return n;
}

// Operations whose only operand is a string's word index: their literal gets the text as a note.
bool takesString(uint32_t word) {
  return word == static_cast<uint32_t>(vm::Op::SetCaption) || word == static_cast<uint32_t>(vm::Op::DebugShowString);
}

void listCode(std::span<const uint32_t> code, std::span<const uint8_t> data, std::string& out) {
  int width = widthFor(code.size());
  out += ".code\n";
  for (size_t i = 0; i < code.size(); ++i) {
    uint32_t word = code[i];
    std::string line = indexMark(i, width);
    if (!(word & 0x80000000u)) {
      line += std::to_string(word);
      if (i + 1 < code.size() && takesString(code[i + 1]))
        if (auto text = stringAt(data, word)) {
          line.resize(std::max(line.size() + 1, kNoteColumn), ' ');
          line += "; " + quotedString(text->utf8);
        }
    } else if (const auto* info = vm::findInstruction(word)) {
      line += info->mnemonic;
    } else {
      line += ".word " + hexWord(word);
    }
    out += line + "\n";
  }
}

void listData(std::span<const uint8_t> data, std::string& out) {
  size_t words = (data.size() + 3) / 4;
  int width = widthFor(words);
  out += ".data\n";
  size_t w = 0;
  while (w < words) {
    std::string line = indexMark(w, width);
    if (auto text = stringAt(data, w)) {
      line += ".string " + quotedString(text->utf8);
      w += text->words;
    } else if (size_t zeros = zeroWords(data, w); zeros >= 2) {
      line += ".space " + std::to_string(zeros * 4);
      w += zeros;
    } else {
      line += ".word ";
      // Gather plain words until a line is full or a string or a zero run begins.
      for (size_t n = 0; n < kWordsPerLine && w < words; ++n, ++w) {
        if (n > 0 && (stringAt(data, w) || zeroWords(data, w) >= 2)) break;
        line += (n > 0 ? ", " : "") + hexWord(wordAt(data, w));
      }
      if (w * 4 > data.size()) line += "  ; the data ends " + std::to_string(w * 4 - data.size()) + " byte(s) short of this word";
    }
    out += line + "\n";
  }
}

}  // namespace

std::string disassemble(std::span<const uint32_t> code, std::span<const uint8_t> data) {
  std::string out = "; " + std::to_string(code.size()) + " code words, " + std::to_string(data.size()) + " data bytes\n";
  listCode(code, data, out);
  out += "\n";
  listData(data, out);
  return out;
}

}  // namespace kelvox::assembler
