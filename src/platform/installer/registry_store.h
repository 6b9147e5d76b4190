// A small file-backed stand-in for the Windows registry: the three root keys the installer
// names, keys in a tree (names compared without regard to ASCII case, spelled as first created),
// and string values. The whole store is one REGEDIT4-style text file; every call rereads it under
// an advisory lock and every change replaces it through a temporary file, so the uninstall
// request and its copy, two processes, never lose each other's changes.
//
// A store file that cannot be read (a folder, a device, an I/O error) or holds a line that does
// not parse is never written over: every change fails until the user has mended or moved it,
// and problem() says what is wrong. Reads of a damaged file see the lines that do parse.
//
// Key paths are written as in the registry: names separated by single backslashes, no leading
// or trailing backslash; "" is the root key itself. A name may not be empty or hold control
// characters. Texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kelvox::platform::installer {

enum class RootKey { CurrentUser, LocalMachine, ClassesRoot };

struct StoreProblem {
  enum class Kind { None, Unreadable, Damaged } kind = Kind::None;
  size_t line = 0;  // Damaged: the first line that does not parse, from 1
};

// One subkey with its values, as subkeysWithValues() lists them.
struct SubkeyValues {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;
};

// "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT".
std::string_view rootKeyName(RootKey root);

class RegistryStore {
 public:
  // The store kept in [file]; the file and its folder are made on the first change.
  explicit RegistryStore(std::string file);

  // True if the key exists. The root ("") always exists; a malformed path never does.
  bool keyExists(RootKey root, std::string_view path) const;

  // Creates the key and any missing keys above it; true if it exists afterwards. False for a
  // malformed path or when the store cannot be written.
  bool createKey(RootKey root, std::string_view path);

  // The value [name] of an existing key ("" is the key's default value); nullopt if either is missing.
  std::optional<std::string> queryValue(RootKey root, std::string_view path, std::string_view name) const;

  // Sets a value of an existing key; false if the key is missing, the name holds control
  // characters, or the store cannot be written.
  bool setValue(RootKey root, std::string_view path, std::string_view name, std::string_view value);
  // As setValue() for each pair in turn, in one change of the store: all or nothing.
  bool setValues(RootKey root, std::string_view path,
                 const std::vector<std::pair<std::string, std::string>>& namesAndValues);

  // The name of the [index]th direct subkey (sorted without regard to ASCII case), or nullopt
  // when there are fewer subkeys or the key is missing.
  std::optional<std::string> enumKey(RootKey root, std::string_view path, size_t index) const;

  // Deletes a key that has no subkeys, with its values. False if it is missing, has subkeys,
  // is a root, or the store cannot be written (as RegDeleteKey on Windows NT).
  bool deleteKey(RootKey root, std::string_view path);

  // All values of a key in the order they were set; empty for a missing key.
  std::vector<std::pair<std::string, std::string>> values(RootKey root, std::string_view path) const;

  // The direct subkeys of a key with all their values, in enumKey()'s order, from one read of
  // the store (enumerating a long list key by key would read it once per key).
  std::vector<SubkeyValues> subkeysWithValues(RootKey root, std::string_view path) const;

  // Whether the store file can be used; Kind::None also when it does not exist yet.
  StoreProblem problem() const;

  const std::string& file() const { return file_; }

 private:
  std::string file_;
};

}  // namespace kelvox::platform::installer
