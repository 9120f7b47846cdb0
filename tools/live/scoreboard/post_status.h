// How the scoreboard posting stands, for the status and the page.
#ifndef KEVO_TOOLS_LIVE_SCOREBOARD_POST_STATUS_H_
#define KEVO_TOOLS_LIVE_SCOREBOARD_POST_STATUS_H_

#include <cstdint>
#include <string>

namespace kevo::live {

struct PostStatus {
  bool enabled = false;
  std::string target;           // the URL and/or the dashboard's address
  std::string last_time;        // UTC of the last attempt, empty before the first
  std::string last_answer;      // "200 OK", or what went wrong
  std::string next_time;        // UTC of the next attempt, empty when none is planned
  std::string call;             // the call posted: --call, else the datagrams' one mycall
  std::int32_t last_score = 0;  // the score the last successful post carried
  std::uint64_t sent = 0;       // posts the scoreboard accepted
  std::uint64_t failed = 0;
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_SCOREBOARD_POST_STATUS_H_
