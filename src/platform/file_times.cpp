// File times through stat and localtime_r.
#include "platform/file_times.h"

#include <sys/stat.h>

#include <ctime>

namespace kelvox::platform {

std::optional<LocalTime> lastWriteLocalTime(const std::filesystem::path& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) return std::nullopt;
  std::tm local{};
  time_t seconds = info.st_mtime;
  if (!localtime_r(&seconds, &local)) return std::nullopt;
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace kelvox::platform
