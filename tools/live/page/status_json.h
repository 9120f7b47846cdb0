// /status.json: the intake's counters, the score and its figures, the page's lists and how the
// scoreboard posting stands; the live page draws itself from it.
#ifndef KEVO_TOOLS_LIVE_PAGE_STATUS_JSON_H_
#define KEVO_TOOLS_LIVE_PAGE_STATUS_JSON_H_

#include <string>

#include "tools/live/keeping/live_snapshot.h"
#include "tools/live/scoreboard/post_status.h"

namespace kevo::live {

std::string StatusJson(const LiveSnapshot& snapshot, const PostStatus& post);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_PAGE_STATUS_JSON_H_
