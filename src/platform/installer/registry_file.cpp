// Reads and writes the REGEDIT4-style text of the registry store.
#include "platform/installer/registry_file.h"

#include "platform/text_encoding.h"
#include "platform/text_lines.h"

namespace kelvox::platform::installer {
namespace {

std::string quote(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// Reads a quoted string starting at [pos] (which holds the opening quote); advances [pos]
// past the closing quote. False when the string is not closed.
bool unquote(std::string_view line, size_t& pos, std::string& out) {
  out.clear();
  if (pos >= line.size() || line[pos] != '"') return false;
  for (size_t i = pos + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') {
      pos = i + 1;
      return true;
    }
    if (c == '\\' && i + 1 < line.size()) {
      char e = line[++i];
      out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
    } else {
      out += c;
    }
  }
  return false;
}

void addWithParents(RegistryMap& keys, const std::string& path) {
  for (size_t cut = path.find('\\'); cut != std::string::npos; cut = path.find('\\', cut + 1)) {
    std::string parent = path.substr(0, cut);
    keys.try_emplace(foldRegistryName(parent), RegistryKeyRecord{parent, {}});
  }
  keys.try_emplace(foldRegistryName(path), RegistryKeyRecord{path, {}});
}

}  // namespace

std::string foldRegistryName(std::string_view name) {
  // Names reach the store as UTF-8 (the installer converts the setup file's Shift-JIS first),
  // so they take the UTF-8 fold.
  return asciiToLower(name);
}

RegistryMap parseRegistryText(std::string_view text, size_t* firstBadLine) {
  RegistryMap keys;
  RegistryKeyRecord* current = nullptr;
  size_t lineNumber = 0, bad = 0;
  auto damaged = [&] {
    if (bad == 0) bad = lineNumber;
  };
  TextLines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    lineNumber = lines.number();
    if (line.empty() || line.front() == ';' || (lineNumber == 1 && line == "REGEDIT4")) continue;
    if (line.front() == '[') {
      size_t close = line.rfind(']');
      current = nullptr;
      if (close == std::string_view::npos || close < 2 || close + 1 != line.size()) {
        damaged();
        continue;
      }
      std::string path(line.substr(1, close - 1));
      addWithParents(keys, path);
      current = &keys.at(foldRegistryName(path));
      continue;
    }
    std::string name, value;
    size_t pos = 0;
    bool parsed = current != nullptr && (line.front() == '@' ? (pos = 1, true) : unquote(line, pos, name)) &&
                  pos < line.size() && line[pos] == '=' && unquote(line, ++pos, value) && pos == line.size();
    if (!parsed) {
      damaged();
      continue;
    }
    current->values.emplace_back(std::move(name), std::move(value));
  }
  if (firstBadLine != nullptr) *firstBadLine = bad;
  return keys;
}

std::string registryText(const RegistryMap& keys) {
  std::string out = "REGEDIT4\n";
  for (const auto& [folded, key] : keys) {
    out += "\n[" + key.path + "]\n";
    for (const auto& [name, value] : key.values)
      out += (name.empty() ? std::string("@") : quote(name)) + "=" + quote(value) + "\n";
  }
  return out;
}

}  // namespace kelvox::platform::installer
