#include "tools/live/keeping/message_throttle.h"

namespace kevo::live {

std::vector<std::string> MessageThrottle::Tick(Clock::time_point now) {
  std::vector<std::string> lines;
  if (!running_ || now - started_ < period_) return lines;
  for (const auto& [key, kind] : kinds_) {
    if (kind.held == 0) continue;
    lines.push_back(
        kind.last + " (" + std::to_string(kind.held) + " like it in the last " +
        std::to_string(std::chrono::duration_cast<std::chrono::seconds>(now - started_).count()) +
        " s)");
  }
  kinds_.clear();
  running_ = false;
  return lines;
}

std::vector<std::string> MessageThrottle::Note(const std::string& key, const std::string& line,
                                               Clock::time_point now) {
  std::vector<std::string> lines = Tick(now);
  if (!running_) {
    running_ = true;
    started_ = now;
  }
  auto [kind, first] = kinds_.try_emplace(key);
  if (first) {
    lines.push_back(line);
  } else {
    ++kind->second.held;
    kind->second.last = line;
  }
  return lines;
}

}  // namespace kevo::live
