// The assembler's lexical layer: splits one source line into tokens and reads the two kinds of
// literal the language has, numbers and strings. It knows nothing of sections or directives.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvox::assembler {

struct Token {
  enum class Kind { Word, String, Comma };
  Kind kind = Kind::Word;
  std::string text;  // a Word as written; a String's contents between the quotes, undecoded
  int column = 0;    // 1-based byte column of its first character (the opening quote)
};

// A problem found while reading a line or a literal, at a 1-based byte column.
struct LexError {
  int column = 0;
  std::string message;
};

struct LineTokens {
  std::vector<Token> tokens;
  std::optional<LexError> error;  // an unterminated string, which then runs to the end of the line
};

// Splits [line] (without its line break) at blanks and commas, dropping a ';' comment.
LineTokens tokenizeLine(std::string_view line);

// True if [text] can only be meant as a number: a digit first, or '-' and a digit.
bool looksLikeNumber(std::string_view text);

// True for a name: a letter or '_' first, then letters, digits, '_' and '.'.
bool isIdentifier(std::string_view text);

struct NumberValue {
  enum class Status { Ok, Bad, OutOfRange };
  Status status = Status::Bad;
  int64_t value = 0;  // -0x80000000 .. 0xFFFFFFFF when Ok
};

// Reads a decimal or 0x hexadecimal number with an optional '-'. Its value must fit 32 bits
// either signed or unsigned.
NumberValue parseNumber(std::string_view text);

struct DecodedString {
  std::string bytes;  // Shift-JIS, without the terminating NUL
  std::vector<LexError> errors;
};

// Resolves the escapes of a string token's [contents] (\" \\ \n \t \r \xNN) and converts
// its UTF-8 text to Shift-JIS. \xNN inserts the byte NN as is. [column] is that of the
// opening quote, so errors point at the offending character.
DecodedString decodeString(std::string_view contents, int column);

}  // namespace kelvox::assembler
