#include "tools/live/console_close.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <thread>
#endif

namespace kevo::live {

namespace {

void Pause() {
#ifdef _WIN32
  ::Sleep(10);
#else
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
#endif
}

}  // namespace

void CloseWait::Arm(std::function<void()> stop) {
  stop_ = std::move(stop);
  int unarmed = kUnarmed;
  state_.compare_exchange_strong(unarmed, kArmed);
}

bool CloseWait::StopAndWait() {
  int armed = kArmed;
  if (state_.compare_exchange_strong(armed, kStopping)) {
    stop_();
  } else if (armed == kUnarmed) {
    return false;
  }
  auto deadline = std::chrono::steady_clock::now() + limit_;
  while (state_.load() != kFinished) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Pause();
  }
  return true;
}

void CloseWait::Finished() { state_.store(kFinished); }

#ifdef _WIN32

namespace {

CloseWait& ProcessCloseWait() {
  static CloseWait* wait = new CloseWait(kCloseWaitLimit);
  return *wait;
}

// The console calls its handlers on a thread of its own.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
    case CTRL_BREAK_EVENT:
      return ProcessCloseWait().StopAndWait() ? TRUE : FALSE;
    default:
      // Ctrl+C goes on to the C runtime, which raises SIGINT: the ordinary stop.
      return FALSE;
  }
}

}  // namespace

CloseWait& InstallConsoleCloseWait() {
  CloseWait& wait = ProcessCloseWait();
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
  return wait;
}

#else

CloseWait& InstallConsoleCloseWait() {
  static CloseWait* wait = new CloseWait(kCloseWaitLimit);
  return *wait;
}

#endif

}  // namespace kevo::live
