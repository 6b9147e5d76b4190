// Termination requests: SIGTERM (kill, a shutdown), SIGINT (Ctrl-C) and SIGHUP (a logout, the
// terminal going away). The game ends on them through the same teardown as closing its window
// (Save\Sys written, the lock released), whatever it is doing, a message box included.
//
// The signals are taken by a thread of their own (sigwait), never by a handler: the message
// loop only has to look at terminationRequested() between its passes. A message box blocks the
// loop; SDL shows it on X11 in a helper process that it forks and waits for, so while a box is
// up (ModalBoxScope) the watcher also ends the helper processes of this one, and the box returns.
// A second request while the first is being served ends the program at once.
#pragma once

namespace kelvox::platform {

// Blocks the three signals in the calling thread, and so in every thread and helper process
// started after it (SDL's included), and starts the watcher thread. Call at the start of main,
// before any other thread exists; later calls do nothing.
void watchTerminationSignals();

// True once a termination request arrived (or requestTermination was called).
bool terminationRequested();
// Marks a termination request, as a signal does.
void requestTermination();

// Marks the time a modal message box is up: a termination request meanwhile ends the child
// processes the box runs in.
class ModalBoxScope {
 public:
  ModalBoxScope();
  ~ModalBoxScope();
  ModalBoxScope(const ModalBoxScope&) = delete;
  ModalBoxScope& operator=(const ModalBoxScope&) = delete;
};

}  // namespace kelvox::platform
