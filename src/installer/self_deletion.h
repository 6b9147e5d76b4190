// The uninstaller copy's last act: arranging for its own file to be deleted once it has
// ended. Delayed deletion is asked for first; where it is unavailable, a "NUL=" line in the
// [Rename] section of WININIT.INI in the Windows folder asks for it instead.
#pragma once

#include <string>

#include "installer/services.h"

namespace kelvox::installer {

// Limit of the rebuilt [Rename] section: beyond it the scheduling is abandoned (the section
// is built in a 32 768-byte buffer).
inline constexpr size_t kRenameSectionLimit = 30000;

void scheduleSelfDeletion(const std::string& path, Services& services);

// Rewrites [wininit] so that its [Rename] section comes last, keeps its earlier entries and
// ends with "NUL=" + [path]; an end-of-file mark 0x1A at the end of the file is replaced by
// the section. False, with the file unchanged, when the section would exceed the limit or the
// file cannot be written.
bool addWininitDeletion(platform::installer::FileOps& files, const std::string& wininit, const std::string& path);

}  // namespace kelvox::installer
