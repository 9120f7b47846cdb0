#include "scoring/qso_keys.h"

namespace kevo {

namespace {

// The pieces joined in order, with one allocation at most.
template <class... Pieces>
std::string Joined(const Pieces&... pieces) {
  std::string key;
  key.reserve((std::string_view(pieces).size() + ...));
  (key.append(pieces), ...);
  return key;
}

}  // namespace

std::string SummaryDupeKey(std::string_view call, std::string_view band, std::string_view mode) {
  return Joined(mode, band, call);
}

std::string ExtLogDupeKey(std::string_view call, std::string_view band, std::string_view mode) {
  return Joined(band, "-", mode, "-", call);
}

std::string MultKey(std::string_view band, std::string_view rcvd) {
  return Joined(band, "-", rcvd);
}

}  // namespace kevo
