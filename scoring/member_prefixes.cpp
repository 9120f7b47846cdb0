#include <array>
#include <cstdio>

#include "scoring/call_check.h"

namespace kevo {

namespace {
// The member societies' prefixes, in the order they are searched.
constexpr std::array<std::string_view, 23> kMemberPrefixes = {
    "OE", "ZA", "EU", "LZ", "T9", "HA", "DL", "4L",  "I",  "Z3", "ER", "SP",
    "RA", "YO", "OM", "S5", "TA", "UR", "9A", "YU6", "OK", "HB", "YU"};
}  // namespace

bool IsMemberPrefix(std::string_view prefix) {
  for (std::string_view member : kMemberPrefixes) {
    if (member == prefix) return true;
  }
  return false;
}

std::string FallbackHint(const char* prefix, int32_t number) {
  if (prefix != nullptr && IsMemberPrefix(prefix)) return "KV" + std::string(prefix) + "?";
  char text[16];
  std::snprintf(text, sizeof text, "%02i?", static_cast<int>(number));
  return text;
}

}  // namespace kevo
