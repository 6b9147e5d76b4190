// The date of a saved game as the save list shows it: the file's last-write time in local
// time, passed through the FAT file system's 16-bit date and time as the original did, so
// seconds come in steps of two; and the label text drawn from it.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/file_times.h"

namespace kelvox::platform {
class Paths;
}

namespace kelvox::save {

// [t] as the FAT date and time keep it (seconds rounded down to even); nullopt for years
// outside 1980..2107, which FAT cannot hold.
std::optional<platform::LocalTime> toFatTime(const platform::LocalTime& t);

// SaveDate's six values: second, minute, hour, day, month, year; all -1 when the file is
// missing or has no readable time.
std::array<int32_t, 6> saveDate(const platform::Paths& paths, int32_t slot);

// The label of [slot]: "----/--/-- --:--:--" for a missing file, the date as
// "%4d/%02d/%02d %02d:%02d:%02d", or "CANNOT ACCESS TO FILE" for a file that exists but has no
// readable time.
std::string saveLabelText(const platform::Paths& paths, int32_t slot);

}  // namespace kelvox::save
