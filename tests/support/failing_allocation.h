// Allocation failures on demand, for tests of what a failure at each step leaves behind: the
// test binary replaces the global operator new, and while a FailingAllocation is alive the
// [nth] allocation of its thread from then on raises std::bad_alloc (the nothrow forms return
// null). Other threads and the time before and after are untouched. Run under
// AddressSanitizer, whatever a failed step leaks is reported when the test ends.
#pragma once

#include <cstdint>

namespace kelvox::test {

class FailingAllocation {
 public:
  explicit FailingAllocation(uint64_t nth);
  ~FailingAllocation();
  FailingAllocation(const FailingAllocation&) = delete;
  FailingAllocation& operator=(const FailingAllocation&) = delete;
};

// Runs [step] with its [n]th allocation failing, for n = 1, 2, … until a run raises nothing,
// calling [check](failed) after each run (failed: the run raised). Returns the number of runs
// that raised. [step] catches nothing itself; [check] sees the state each failure left.
template <typename Step, typename Check>
int failEachAllocation(Step&& step, Check&& check) {
  int failures = 0;
  for (uint64_t n = 1;; ++n) {
    bool raised = false;
    {
      FailingAllocation failing(n);
      try {
        step();
      } catch (...) {
        raised = true;
      }
    }
    check(raised);
    if (!raised) return failures;
    ++failures;
  }
}

}  // namespace kelvox::test
