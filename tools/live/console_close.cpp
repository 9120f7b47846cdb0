#include "tools/live/console_close.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kevo::live {

void CloseWait::Arm(std::function<void()> stop) {
  std::lock_guard<std::mutex> lock(mutex_);
  stop_ = std::move(stop);
}

bool CloseWait::StopAndWait() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!stop_ && !finished_) return false;
  if (!stopping_) {
    stopping_ = true;
    std::function<void()> stop = stop_;
    lock.unlock();
    stop();
    lock.lock();
  }
  return finished_changed_.wait_for(lock, limit_, [this] { return finished_; });
}

void CloseWait::Finished() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
    stopping_ = true;
    stop_ = nullptr;
  }
  finished_changed_.notify_all();
}

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
