// Shift-JIS (code page 932) text: conversion to and from UTF-8, and the double-byte aware
// scanning that the game's paths and configuration files need. A Shift-JIS lead byte is
// followed by a trail byte that may look like an ASCII '\\' or ',' (表 is 0x95 0x5C); those
// never count as separators.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kelvox::platform {

// True for a byte that starts a two-byte Shift-JIS character (0x81..0x9F, 0xE0..0xFC).
constexpr bool isSjisLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Converts Shift-JIS [text] to UTF-8. Bytes that do not form a valid character become U+FFFD,
// so any input converts.
std::string sjisToUtf8(std::string_view text);

// True if [text] has UTF-8's byte structure (lead bytes each followed by as many
// continuation bytes as they announce): for names that may come in UTF-8 or Shift-JIS.
bool isUtf8(std::string_view text);

// Converts UTF-8 [text] to Shift-JIS; nullopt if it holds a character CP932 lacks or is not
// valid UTF-8.
std::optional<std::string> utf8ToSjis(std::string_view text);

// Converts UTF-8 [text] to Shift-JIS, replacing characters CP932 lacks with '?'. For the
// engine's own message texts, which are all representable.
std::string toSjis(std::string_view utf8);

// Index of the first [c] (an ASCII byte) in Shift-JIS [text] that is not the trail byte of a
// double-byte character, or npos.
size_t findSjisChar(std::string_view text, char c, size_t from = 0);

// Index of the last such [c], or npos.
size_t findLastSjisChar(std::string_view text, char c);

// True if the last character of [text] is the single-byte [c] (a trail byte does not count).
bool endsWithSjisChar(std::string_view text, char c);

// The case folds, one per encoding; names compare as Windows compares them, ASCII letters
// without regard to case and everything else by byte.
//
// Shift-JIS text (the game's names, paths, Kelvox.ini): double-byte characters are left alone,
// as their trail bytes may fall in 'A'..'Z' (ア is 0x83 0x41, ヂ 0x83 0x61).
std::string sjisToLower(std::string_view text);
// UTF-8 or plain ASCII text (command lines, assembler source, the installer's registry
// names): every byte in 'A'..'Z' is a letter, since UTF-8's multi-byte characters use bytes of
// 0x80 and above only. (The Shift-JIS fold would skip a byte after 0xE3, the lead byte of most
// kana in UTF-8, and leave an ASCII letter there unfolded.)
std::string asciiToLower(std::string_view text);

// Case-insensitive comparison of Shift-JIS strings (ASCII letters fold; the rest by byte).
// Returns <0, 0, >0.
int sjisCompareNoCase(std::string_view a, std::string_view b);

}  // namespace kelvox::platform
