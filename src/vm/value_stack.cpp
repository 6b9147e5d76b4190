// Storage and the two stack faults of ValueStack.
#include "vm/value_stack.h"

#include <new>

#include "common/fatal_error.h"

namespace kelvox::vm {

int ValueStack::create(int capacity) {
  if (capacity <= 0) return 1;
  storage_.reset(new (std::nothrow) int32_t[static_cast<size_t>(capacity) + 1]());
  if (!storage_) return 1;
  items_ = storage_.get() + 1;
  capacity_ = capacity;
  count_ = 0;
  return 0;
}

void ValueStack::release() {
  storage_.reset();
  items_ = nullptr;
  capacity_ = 0;
  count_ = 0;
}

void ValueStack::setCount(int n) {
  if (n < 0) n = 0;
  if (n > capacity_ - 1) n = capacity_ - 1;
  count_ = n;
}

void ValueStack::pushOverflow(int32_t value) {
  if (count_ == capacity_ - 1) {
    items_[count_++] = value;  // the last slot is written, as scripts have always seen
  }
  common::raiseFatal(common::Fault::StackFull);
}

void ValueStack::popUnderflow() { common::raiseFatal(common::Fault::StackEmpty); }

}  // namespace kelvox::vm
