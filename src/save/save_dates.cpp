// Slot dates and labels.
#include "save/save_dates.h"

#include <cstdio>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "save/slot_names.h"

namespace kelvox::save {
namespace {

// The FAT time of [slot]'s saved game; [exists] tells a missing file from an undated one.
std::optional<platform::LocalTime> slotTime(const platform::Paths& paths, int32_t slot, bool& exists) {
  exists = false;
  auto name = stateFileName(slot);
  if (!name) return std::nullopt;
  auto file = paths.resolve(*name);
  if (!platform::isRegularFile(file)) return std::nullopt;
  exists = true;
  auto t = platform::lastWriteLocalTime(file);
  return t ? toFatTime(*t) : std::nullopt;
}

}  // namespace

std::optional<platform::LocalTime> toFatTime(const platform::LocalTime& t) {
  if (t.year < 1980 || t.year > 1980 + 127) return std::nullopt;
  platform::LocalTime fat = t;
  fat.second = (t.second / 2) * 2;  // five bits of two-second steps
  if (fat.second > 58) fat.second = 58;
  return fat;
}

std::array<int32_t, 6> saveDate(const platform::Paths& paths, int32_t slot) {
  bool exists = false;
  auto t = slotTime(paths, slot, exists);
  if (!t) return {-1, -1, -1, -1, -1, -1};
  return {t->second, t->minute, t->hour, t->day, t->month, t->year};
}

std::string saveLabelText(const platform::Paths& paths, int32_t slot) {
  bool exists = false;
  auto t = slotTime(paths, slot, exists);
  if (!exists) return "----/--/-- --:--:--";
  if (!t) return "CANNOT ACCESS TO FILE";
  char text[64];
  std::snprintf(text, sizeof text, "%4d/%02d/%02d %02d:%02d:%02d", t->year, t->month, t->day, t->hour, t->minute,
                t->second);
  return text;
}

}  // namespace kelvox::save
