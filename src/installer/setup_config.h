// The setup configuration that ships beside the installer: the [Install], [Group] and [Reg]
// sections read with the original's buffer sizes, and the syntax of their entries. Values stay
// Shift-JIS here; only ',' and '!' are looked for, double-byte aware. Turning them into host
// paths is run_state's job.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/installer/registry_store.h"
#include "platform/profile.h"

namespace kelvox::installer {

// Buffer sizes of the original's reads, terminating zero included: a value keeps one byte less.
inline constexpr size_t kTitleBuffer = 100;   // Title, Folder
inline constexpr size_t kFlagBuffer = 10;     // TSR
inline constexpr size_t kEntryBuffer = 260;   // numbered entries, Open

struct SetupConfig {
  std::string title;                 // Install/Title
  std::string folder;                // Install/Folder
  bool resident = false;             // Install/TSR starts with '1'
  std::string open;                  // Install/Open, may be empty
  std::vector<std::string> files;    // Install/1 … N, up to the first missing or empty key
  std::vector<std::string> groups;   // Group/1 … M, up to the first empty key or one without ','
  std::vector<std::string> regKeys;  // Reg/1 …, up to the first missing or empty key
};

// Reads the configuration from [profile]; nullopt when Title or Folder is empty.
std::optional<SetupConfig> readSetupConfig(const platform::Profile& profile);

// The values of one section by key, with the lookup rules of Profile::getString (first key
// wins, ASCII case ignored, one pair of enclosing quotes dropped, cut to the buffer), read in
// one pass so that long numbered lists cost linear time.
class SectionIndex {
 public:
  SectionIndex(const platform::Profile& profile, std::string_view section);
  // As profile.getString(section, key, "", bufferSize), and cut at a NUL byte as a C string is.
  std::string get(std::string_view key, size_t bufferSize) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // folded key, value; sorted, first kept
};

enum class FileBase { Installation, Windows, System };

struct FileSpec {
  std::string source;       // relative to the installer's folder
  FileBase base = FileBase::Installation;
  std::string destination;  // relative to the base folder
};

// "source", "source,destination", "source,W!name" (W or w) or "source,S!name" (any other
// letter before '!'). Only a '!' as the second byte after the comma makes a folder letter.
FileSpec splitFileEntry(std::string_view value);

struct GroupSpec {
  std::string caption;
  std::string target;     // relative to the installation folder
  std::string arguments;  // the text after a second comma, may be empty
};

// "caption,target" or "caption,target,arguments"; nullopt without a comma (the list ends).
std::optional<GroupSpec> splitGroupEntry(std::string_view value);

struct RegSpec {
  platform::installer::RootKey root;
  std::string subkey;
};

// "HKEY_CURRENT_USER\…", "HKEY_LOCAL_MACHINE\…" or "HKEY_CLASSES_ROOT\…", the root spelled
// exactly; the subkey starts one character after the root's name. nullopt for any other root
// and for an empty subkey, which would name the whole root.
std::optional<RegSpec> splitRegEntry(std::string_view value);

}  // namespace kelvox::installer
