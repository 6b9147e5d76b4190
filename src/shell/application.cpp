// The message loop with its error handling points.
#include "shell/application.h"

#include <new>
#include <vector>

#include "platform/platform.h"
#include "shell/engine_host.h"
#include "shell/error_box.h"
#include "shell/frame_stats.h"
#include "shell/main_form.h"
#include "platform/scripted_input.h"

namespace kelvox::shell {

namespace {

// Runs [work]; an error is shown in the error box. Returns false if one was raised.
template <typename Work>
bool guarded(platform::Dialogs& dialogs, Work&& work) {
  try {
    work();
    return true;
  } catch (const common::AppError& e) {
    showAppError(dialogs, e);
  } catch (const std::bad_alloc&) {
    showAppError(dialogs, common::outOfMemoryError());
  }
  return false;
}

// Without an idle handler nothing runs; the loop only waits for the window's events.
constexpr uint32_t kIdleWaitMs = 10;

}  // namespace

int runApplication(platform::Platform& platform, const RunOptions& options) {
  TMainForm form(platform);
  form.soundFont = options.soundFont;
  bool started = guarded(platform.dialogs, [&] { form.FormCreate(); });
  if (!started && options.exitOnFailedStart) {
    guarded(platform.dialogs, [&] { form.FormDestroy(); });
    return 1;
  }
  if (form.host()) form.host()->stats = options.stats;
  if (form.host() && form.host()->machine && options.presentLateFrames) form.host()->machine->frameSkipEnabled = 0;

  auto terminating = [&] { return options.terminationRequested && options.terminationRequested(); };
  std::vector<platform::WindowEvent> events;
  for (uint64_t pass = 0; !form.closed(); ++pass) {
    if (options.frameLimit && pass >= options.frameLimit) break;
    if (terminating()) break;
    if (options.input) options.input->beginTick(pass);
    events.clear();
    platform.window.pumpEvents(events);
    for (const auto& event : events) {
      guarded(platform.dialogs, [&] { form.windowProc(event); });
      if (form.closed() || terminating()) break;
    }
    if (form.closed()) break;
    if (form.idleInstalled())
      guarded(platform.dialogs, [&] { form.onIdle(); });
    else
      platform.clock.sleep(kIdleWaitMs);
    if (options.afterTick) options.afterTick(pass);
  }
  // A run that stopped at its frame limit or on a termination request closes the window the
  // normal way, so the machine is torn down (and Save\Sys written) as after End.
  if (!form.closed()) guarded(platform.dialogs, [&] { form.FormClose(); });
  guarded(platform.dialogs, [&] { form.FormDestroy(); });
  return options.failOnLostSystemFile && form.systemFileLost() ? 1 : 0;
}

}  // namespace kelvox::shell
