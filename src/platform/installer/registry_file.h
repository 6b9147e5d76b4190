// The registry store's file format, kept apart from the locking and the key operations.
//
//   REGEDIT4                                   first line (written; not required when read)
//   <blank line>
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Sample]       one section per key, full path with its root
//   "DisplayName"="サンプル"                     one line per string value
//   @="…"                                      the key's default value (name "")
//
// Inside quotes a backslash escapes '\\', '"', and 'n' / 'r' / 't' stand for the control
// characters. Lines starting with ';' are comments. Lines that do not parse are skipped when
// reading and reported by number, so the store can refuse to write over a damaged file.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox::platform::installer {

struct RegistryKeyRecord {
  std::string path;  // full path as first written, e.g. "HKEY_CURRENT_USER\Software\A"
  std::vector<std::pair<std::string, std::string>> values;
};

// Keys by their path folded to ASCII lower case (asciiToLower: names are UTF-8); every key's
// parents are present too.
using RegistryMap = std::map<std::string, RegistryKeyRecord>;

std::string foldRegistryName(std::string_view name);
// The keys of [text]. [firstBadLine], when given, gets the number (from 1) of the first line
// that does not parse, or 0 when every line does.
RegistryMap parseRegistryText(std::string_view text, size_t* firstBadLine = nullptr);
std::string registryText(const RegistryMap& keys);

}  // namespace kelvox::platform::installer
