// The two caller buffers of CheckCall0. The library never learns their size, so the caller
// must make them large enough: the hint can be as long as the longest received exchange stored
// or the longest value of the exchange list file. The buffers are pre-filled with a known
// pattern, which tells whether the library wrote them, and guarded at the end, which catches
// a text longer than the room given.
#ifndef KEVO_REPLAY_CHECK_BUFFERS_H_
#define KEVO_REPLAY_CHECK_BUFFERS_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kevo::replay {

class CheckBuffer {
 public:
  // `room` bytes for a text and its zero byte; `initial` (if any) is written there first.
  CheckBuffer(std::size_t room, const std::optional<std::string>& initial);

  char* data() { return bytes_.data(); }
  bool Changed() const { return bytes_ != before_; }
  bool GuardIntact() const;
  // The text up to the first zero byte within the room; empty when there is none.
  std::optional<std::string> Text() const;

 private:
  std::size_t room_;
  std::vector<char> bytes_;
  std::vector<char> before_;
};

// Room for the hint: longest exchange the library may hand back, plus slack.
std::size_t HintRoom(std::size_t longest_received, std::size_t exchange_list_bytes);
// Room for "CALL: QSO BEFORE at HH:MM", plus slack.
std::size_t DupeMessageRoom(std::size_t call_length);

// Bytes of "RADL.lst" and "Plugins/RADL.lst" in the current directory (0 for a missing file).
std::size_t ExchangeListBytes();

}  // namespace kevo::replay

#endif  // KEVO_REPLAY_CHECK_BUFFERS_H_
