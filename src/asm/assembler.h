// The script assembler: turns assembly source (.kvs) into the code words and the data memory
// image of a game's Script\Code.ssb and Script\Data.ssb. It works in memory; reading the
// top-level file and writing the game folder are left to the caller (see game_folder.h).
//
// Source language, in brief:
//   ; comment                 to the end of the line
//   .code / .data             switch section; each section accumulates across switches
//   name:                     label: a code word index in .code, a data WORD index in .data
//   0012:                     index mark: asserts the position (as kvdis prints it)
//   .equ NAME VALUE           constant (number, label or other constant)
//   .include "file"           relative to the including file's folder
//   .code:  literals (12, 0x1F, -5, 0xFFFFFFFF), mnemonics, label and constant names,
//           .word N, ...      raw code words
//   .data:  .string "text"    Shift-JIS bytes and a NUL; escapes \" \\ \n \t \r \xNN
//           .word N, ...      32-bit little-endian words
//           .space BYTES      zero bytes
// A literal outside 0..0x7FFFFFFF cannot be one code word: -5 becomes 5 Neg, a value with
// bit 31 set becomes its complement followed by Not.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::assembler {

// An assembled script, ready to be written to a game folder or loaded into the machine.
struct Script {
  std::vector<uint32_t> code;             // code words as the machine reads them
  std::vector<uint8_t> data;              // data memory, unscrambled; a multiple of 4, at least 4
  std::map<std::string, uint32_t> labels; // code index or data word index of every label
};

// One error, positioned at a 1-based line and byte column of a source file.
struct Diagnostic {
  std::string file;
  int line = 0;
  int column = 0;
  std::string message;

  // "file.kvs:12:5: error: message"
  std::string toString() const;
};

struct Result {
  std::optional<Script> script;  // set only when there are no errors
  std::vector<Diagnostic> errors;
};

// Returns the text of the file at [path], or nullopt when it cannot be read. Used for
// .include; [path] is already joined to the including file's folder.
using IncludeLoader = std::function<std::optional<std::string>(const std::string& path)>;

// The largest source file read. A script of the largest game is a few MB of text; a larger
// file (or /dev/zero) is refused from its size before it is read.
inline constexpr uint64_t kMaxSourceFileBytes = 64u << 20;

// The loader that reads files from disk: regular files of at most kMaxSourceFileBytes only,
// so a FIFO, a device or a folder is refused at once and never waited on.
std::optional<std::string> readSourceFile(const std::string& path);

// Assembles [source], reporting positions as [fileName]. Reports every error found.
Result assemble(std::string_view source, std::string fileName = "<input>",
                IncludeLoader loader = readSourceFile);

// Reads and assembles the file at [path]; a file that cannot be read is an error at line 0.
Result assembleFile(const std::string& path, IncludeLoader loader = readSourceFile);

// For tests and tools that build scripts inline: assembles [source] or throws
// std::runtime_error whose what() lists the diagnostics, one per line.
Script assembleOrThrow(std::string_view source, std::string fileName = "<input>",
                       IncludeLoader loader = readSourceFile);

}  // namespace kelvox::assembler
