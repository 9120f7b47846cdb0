#include "scoring/qso_keys.h"

#include <initializer_list>

namespace kevo {

namespace {

// The pieces joined in order, with one allocation.
std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (std::string_view piece : pieces) size += piece.size();
  std::string key;
  key.reserve(size);
  for (std::string_view piece : pieces) key.append(piece);
  return key;
}

}  // namespace

std::string SummaryDupeKey(std::string_view call, std::string_view band, std::string_view mode) {
  return Joined({mode, band, call});
}

std::string ExtLogDupeKey(std::string_view call, std::string_view band, std::string_view mode) {
  return Joined({band, "-", mode, "-", call});
}

std::string MultKey(std::string_view band, std::string_view rcvd) {
  return Joined({band, "-", rcvd});
}

}  // namespace kevo
