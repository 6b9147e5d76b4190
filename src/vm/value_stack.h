// The bounded stack of signed 32-bit values behind paramStack and returnStack. It holds at
// most capacity - 1 values: the push that fills the last slot stores its value and then
// raises error 66. Kept so: saved stack files and scripts written against the original
// depend on the 1023-value limit.
#pragma once

#include <cstdint>
#include <memory>

namespace kelvox::vm {

class ValueStack {
 public:
  // Allocates [capacity] slots; returns 0, or non-zero if the storage cannot be had.
  int create(int capacity);
  // Frees the storage; the stack is empty and without capacity until created again.
  void release();

  // Stores [value] at items[count] and counts it; raises 66 when count reaches capacity. A
  // push onto a stack already at capacity raises 66 again without storing.
  void push(int32_t value) {
    if (count_ >= capacity_ - 1) pushOverflow(value);
    items_[count_++] = value;
  }
  // Raises 67 on an empty stack (nothing changes).
  int32_t pop() {
    if (count_ <= 0) popUnderflow();
    return items_[--count_];
  }

  int getCount() const { return count_; }
  // Sets the count directly; saved games write items first. Clamped to 0..capacity - 1 so a
  // damaged file cannot point the stack outside its storage.
  void setCount(int n);
  // Puts back a count taken from getCount() (0..capacity, capacity after an overflow) as it
  // was; for code that works on the storage directly, such as the slice loop.
  void restoreCount(int n) { count_ = n; }
  int32_t* getItems() { return items_; }
  const int32_t* getItems() const { return items_; }
  int getCapacity() const { return capacity_; }
  bool created() const { return items_ != nullptr; }
  // items[-1] is a scratch slot that belongs to no value: the slice loop spills its cached top
  // value there when it pushes onto an empty stack, so that push needs no test.

 private:
  [[noreturn]] void pushOverflow(int32_t value);
  [[noreturn]] void popUnderflow();

  std::unique_ptr<int32_t[]> storage_;  // the scratch slot, then capacity slots
  int32_t* items_ = nullptr;
  int capacity_ = 0;
  int count_ = 0;
};

}  // namespace kelvox::vm
