// Kelvox.ini beside the program, read once when the machine starts:
//
//   [SearchPath]  Label = volume label of a CD-ROM with further data files (empty: none)
//                 Path  = folder on that disc (default "\")
//   [Font]        Name  = face name for text windows (default "ＭＳ ゴシック")
//
// The search path becomes a drive prefix such as "d:\Data\" when a disc with that label is
// present and holds the folder; otherwise it stays empty.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/volumes.h"

namespace kelvox::platform {
class Paths;
}  // namespace kelvox::platform

namespace kelvox::vm {

struct MachineContext;

// The first volume whose label equals [label] in its first 32 characters without regard to
// case, or nullopt.
std::optional<platform::Volume> findCdVolume(platform::Volumes& volumes, std::string_view label);
// That volume's drive ("d:").
std::optional<std::string> findCdDrive(platform::Volumes& volumes, std::string_view label);

// The search-path prefix for [label] and [path] (Shift-JIS), or "" when no disc or folder matches.
std::string searchPathFor(const platform::Paths& paths, std::string_view label, std::string path);

// Reads Kelvox.ini into searchPath and fontName.
void readEngineConfig(MachineContext& m);

}  // namespace kelvox::vm
