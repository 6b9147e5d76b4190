// The records a headless window and its dialogs keep for tests are bounded: a script that moves
// the pointer or faults every tick for hours must not grow memory without end.
#pragma once

#include <cstddef>
#include <vector>

namespace kelvox::platform {

// How many of the most recent records are kept at least.
inline constexpr size_t kKeptRecords = 4096;

// Appends [item]; at twice kKeptRecords the oldest half is dropped at once, so each append
// costs amortised constant time and the newest kKeptRecords are always there.
template <typename T>
void appendBounded(std::vector<T>& records, T item) {
  if (records.size() >= 2 * kKeptRecords) records.erase(records.begin(), records.end() - kKeptRecords);
  records.push_back(std::move(item));
}

}  // namespace kelvox::platform
