#include "tools/live/utc_now.h"

#include <ctime>

namespace kevo::live {

std::string UtcNow(long long seconds_from_now) {
  std::time_t now = std::time(nullptr) + static_cast<std::time_t>(seconds_from_now);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &utc);
  return text;
}

}  // namespace kevo::live
