// Closing the console window kevo-live runs in (or logging off, or shutting Windows down) ends
// the process as soon as the console's handler returns, and a few seconds after the event at
// the latest. The handler therefore starts the same clean stop as Ctrl+C and waits for it to
// end: the datagrams already taken are scored and journaled, and the journal is closed.
#ifndef KEVO_TOOLS_LIVE_CONSOLE_CLOSE_H_
#define KEVO_TOOLS_LIVE_CONSOLE_CLOSE_H_

#include <atomic>
#include <chrono>
#include <functional>

namespace kevo::live {

// Windows gives a console handler 5 s for a close before it ends the process.
constexpr std::chrono::milliseconds kCloseWaitLimit{4500};

// The stop a close starts, and the wait for its end. Thread-safe, and made of atomics alone: the
// MinGW runtime of the Windows build has no std::mutex.
class CloseWait {
 public:
  explicit CloseWait(std::chrono::milliseconds limit) : limit_(limit) {}

  // From now on an event starts `stop`. Called once, before any Finished().
  void Arm(std::function<void()> stop);

  // On the event's thread: starts the stop (once, however many events come) and waits until
  // Finished() or the limit. False at once when nothing is armed (the process may just end),
  // else true when the stop finished in time.
  bool StopAndWait();

  // The stop has ended: every waiting event returns, and later ones start nothing.
  void Finished();

 private:
  enum State { kUnarmed, kArmed, kStopping, kFinished };
  std::chrono::milliseconds limit_;
  std::function<void()> stop_;  // written before the state becomes kArmed, then only read
  std::atomic<int> state_{kUnarmed};
};

// The process's CloseWait, run by the console's close, log-off, shut-down and Ctrl+Break events
// (Windows only; elsewhere a stop arrives as a signal and no event comes). It is never destroyed:
// the console's thread may still be returning from it while the process ends.
CloseWait& InstallConsoleCloseWait();

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_CONSOLE_CLOSE_H_
