// Test helpers for Desktop Entry files: string values unescaped and Exec split into its
// arguments by the Desktop Entry rules (written here from those rules, not from the writer),
// and desktop-file-validate run on a file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox::installer::test {

// The value of a string key after its escapes: \s \n \t \r \\.
std::string unescapeDesktopString(std::string_view v);

// Splits an unescaped Exec value into arguments the way a launcher must; nullopt for a value
// that breaks the rules (a reserved character outside quotes, a lone '%', an open quote).
std::optional<std::vector<std::string>> readExec(std::string_view exec);

// The raw value of key [name] in [text]; "<none>" when missing.
std::string desktopKey(const std::string& text, const std::string& name);

// The arguments of the Exec line of a Desktop Entry file's text.
std::optional<std::vector<std::string>> execOf(const std::string& fileText);

// Runs desktop-file-validate on [file]: its exit status and output; nullopt when the tool is
// not installed.
std::optional<std::pair<int, std::string>> validateDesktopFile(const std::string& file);

}  // namespace kelvox::installer::test
