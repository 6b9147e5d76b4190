// Arrays that start on a cache line (64 bytes), for pixels: a row copy or a vector loop over
// them then never splits its loads and stores across two lines. The block is an ordinary
// allocation a line larger than asked, so large arrays come and go through the allocator's
// usual path (an aligned allocation of megabytes kept more memory resident). Zeroed when made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace kelvox::platform {

template <typename T>
class CacheLineArray {
 public:
  static constexpr size_t kLine = 64;  // bytes

  CacheLineArray() = default;
  // [count] zeroed elements of the trivial type [T].
  explicit CacheLineArray(size_t count) : block_(new uint8_t[count * sizeof(T) + kLine]) {
    const auto address = reinterpret_cast<uintptr_t>(block_.get());
    const size_t skip = (kLine - address % kLine) % kLine;
    data_ = reinterpret_cast<T*>(block_.get() + skip);
    std::memset(data_, 0, count * sizeof(T));
  }

  T* get() const { return data_; }

 private:
  std::unique_ptr<uint8_t[]> block_;
  T* data_ = nullptr;
};

}  // namespace kelvox::platform
