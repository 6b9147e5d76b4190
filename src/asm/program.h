// The parsed form of a source program: its statements in source order with their positions,
// before any address is known. parseProgram reads the files (following .include); the
// assembler proper (assembler.cpp) gives names their values and emits the words.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "asm/assembler.h"

namespace kelvox::assembler {

struct SourcePos {
  int file = 0;  // index into Program::files
  int line = 0;
  int column = 0;
};

enum class Section { Code, Data };

// [text] between single quotes, for error messages. Appended piece by piece: GCC 12 at -O3
// warns (-Wrestrict) about the overlapping copy it sees in "'" + std::string(text) + "'".
inline std::string inQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '\'';
  out += text;
  out += '\'';
  return out;
}

// A value written in the source: a number, or a name resolved once every label is placed.
struct Operand {
  int64_t number = 0;  // when symbol is empty
  std::string symbol;
  SourcePos pos;
};

struct Statement {
  enum class Kind {
    Label,      // name: the current position of [section]
    IndexMark,  // operand.number must equal the current position of [section]
    Constant,   // .equ name operand
    Literal,    // code: words that push operand's value
    Operation,  // code: the operation word [word]
    CodeWord,   // code: .word operand, one raw word
    DataWord,   // data: .word operand, 4 bytes little-endian
    DataBytes,  // data: .string, [bytes] with its NUL
    DataSpace,  // data: .space operand zero bytes
  };
  Kind kind = Kind::Label;
  Section section = Section::Code;
  SourcePos pos;
  std::string name;   // Label, Constant
  Operand operand;
  uint32_t word = 0;  // Operation
  std::string bytes;  // DataBytes
};

struct Program {
  std::vector<std::string> files;  // names as reported in diagnostics
  std::vector<Statement> statements;
  std::vector<Diagnostic> errors;

  void error(const SourcePos& pos, std::string message) {
    errors.push_back({files[pos.file], pos.line, pos.column, std::move(message)});
  }
};

// Reads [source] named [fileName] and the files it includes, through [loader].
Program parseProgram(std::string_view source, const std::string& fileName, const IncludeLoader& loader);

}  // namespace kelvox::assembler
