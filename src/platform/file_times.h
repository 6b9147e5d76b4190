// The last-write time of a file as the local calendar time, for the save list's date labels.
#pragma once

#include <filesystem>
#include <optional>

namespace kelvox::platform {

struct LocalTime {
  int year = 0;    // e.g. 2026
  int month = 0;   // 1..12
  int day = 0;     // 1..31
  int hour = 0;    // 0..23
  int minute = 0;  // 0..59
  int second = 0;  // 0..59 (a leap second shows as 60)
};

// The last-write time of [file] in the machine's local time zone, or nullopt when the file
// cannot be reached or its time cannot be converted.
std::optional<LocalTime> lastWriteLocalTime(const std::filesystem::path& file);

}  // namespace kelvox::platform
