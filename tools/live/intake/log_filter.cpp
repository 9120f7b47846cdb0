#include "tools/live/intake/log_filter.h"

namespace kevo::live {

std::string AsciiUpperCopy(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

bool PassesFilter(const LogFilter& filter, const ContactEvent& event) {
  if (event.kind == DatagramKind::kContactDelete) return true;
  if (!filter.contest.empty() && AsciiUpperCopy(event.contest) != AsciiUpperCopy(filter.contest)) {
    return false;
  }
  return filter.call.empty() || event.mycall == AsciiUpperCopy(filter.call);
}

}  // namespace kevo::live
