// Messages on standard error that an operator can still read when a fault repeats: the first
// message of a kind is written at once, the ones after it in the same minute are held and
// summed, and at the minute's end the last of them is written with how many more there were.
// A flood of 100,000 bad datagrams then writes a few lines a minute, not 100,000.
#ifndef KEVO_TOOLS_LIVE_KEEPING_MESSAGE_THROTTLE_H_
#define KEVO_TOOLS_LIVE_KEEPING_MESSAGE_THROTTLE_H_

#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kevo::live {

class MessageThrottle {
 public:
  using Clock = std::chrono::steady_clock;

  explicit MessageThrottle(Clock::duration period = std::chrono::minutes(1)) : period_(period) {}

  // A message of the kind `key`: the lines to write now (the sums of a period that ended,
  // then this message when it is the first of its kind in the period).
  std::vector<std::string> Note(const std::string& key, const std::string& line,
                                Clock::time_point now);
  // The sums of a period that ended, if one did; called now and then when nothing happens.
  std::vector<std::string> Tick(Clock::time_point now);
  // The fault of this kind is over: what was held of it is dropped, and its next message is
  // written at once.
  void Forget(const std::string& key) { kinds_.erase(key); }

 private:
  struct Kind {
    std::uint64_t held = 0;  // messages of the period not written
    std::string last;        // the last of them
  };

  Clock::duration period_;
  Clock::time_point started_{};
  bool running_ = false;
  std::map<std::string, Kind> kinds_;  // the kinds written in this period
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_KEEPING_MESSAGE_THROTTLE_H_
