// The wall clock in UTC, as the page and the scoreboard write it.
#ifndef KEVO_TOOLS_LIVE_UTC_NOW_H_
#define KEVO_TOOLS_LIVE_UTC_NOW_H_

#include <string>

namespace kevo::live {

// The UTC time now, or that many seconds from now, as "YYYY-MM-DD HH:MM:SS".
std::string UtcNow(long long seconds_from_now = 0);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_UTC_NOW_H_
