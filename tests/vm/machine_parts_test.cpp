// The machine's start-up with a failure at each step of making a subsystem's part: the step's
// own fault, nothing of the failed part left running (the mixer pulls only live streams, the
// window's listeners are only live objects), a teardown that goes through, and no leak
// (AddressSanitizer reports one when the test ends).
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/failing_allocation.h"
#include "support/test_game.h"
#include "vm/machine_context.h"
#include "vm/machine_part.h"

namespace kelvox::vm {
namespace {

// The wrapped part, whose start runs with its [nth] allocation failing.
class FailingStart final : public MachinePart {
 public:
  FailingStart(std::unique_ptr<MachinePart> inner, uint64_t nth) : inner_(std::move(inner)), nth_(nth) {}
  void start(MachineContext& m) override {
    test::FailingAllocation failing(nth_);
    inner_->start(m);
  }
  void stop(MachineContext& m) override { inner_->stop(m); }
  std::unique_ptr<MachinePart> unwrap() { return std::move(inner_); }

 private:
  std::unique_ptr<MachinePart> inner_;
  uint64_t nth_;
};

TEST(MachineParts, AFailedAllocationAtEachStepOfAPartIsThatStepsFault) {
  struct Case {
    const char* what;
    std::unique_ptr<MachinePart> MachineParts::*slot;
    const char* displayed;  // the fault of the machine's step, as the box shows it
  } cases[] = {
      {"the text windows", &MachineParts::textWindows, "テキストウインドウの生成に失敗しました(18)"},
      {"the CD audio object", &MachineParts::cdAudio, "CDDA機能の初期化に失敗しました(100)"},
  };
  for (const Case& c : cases) {
    test::TestGame game(".code\nEnd\n");
    shell::EngineHost& host = *game.host;
    MachineContext& m = game.m();
    teardownMachine(m);
    std::unique_ptr<MachinePart>& slot = m.parts.*c.slot;
    int failures = 0;
    for (uint64_t n = 1;; ++n) {
      slot = std::make_unique<FailingStart>(std::move(slot), n);
      std::string error = test::errorOf(
          [&] { initMachine(m, host.input.get(), host.display.get(), host.midi.get(), host.wav.get()); });
      slot = static_cast<FailingStart&>(*slot).unwrap();
      std::vector<int16_t> block(2 * 256);
      host.wav->mixer().render(block);  // a stream left behind by a failed start is pulled here
      if (error.empty()) {
        EXPECT_EQ(host.listeners.listenerCount(), 1) << c.what << ": the CD audio object listens";
        break;
      }
      ++failures;
      EXPECT_EQ(error, c.displayed) << c.what << ", allocation " << n;
      EXPECT_EQ(host.listeners.listenerCount(), 0) << c.what << ", allocation " << n;
      EXPECT_NO_THROW(teardownMachine(m)) << c.what << ", allocation " << n;
    }
    EXPECT_GT(failures, 0) << c.what;
  }
}

}  // namespace
}  // namespace kelvox::vm
