// What the live page's server answers for each path: the page and its script, the summary as
// the plug-in wrote it, the status for the page's updates, and the charts.
#ifndef KEVO_TOOLS_LIVE_PAGE_PAGE_ROUTES_H_
#define KEVO_TOOLS_LIVE_PAGE_PAGE_ROUTES_H_

#include <cstdint>
#include <string>

#include "tools/live/keeping/live_snapshot.h"
#include "tools/live/page/http_server.h"
#include "tools/live/scoreboard/post_status.h"

namespace kevo::live {

// The moment's facts a request may show. `refused_senders` is the intake's own count, newer
// than the snapshot's.
struct PageFacts {
  const LiveSnapshot& snapshot;
  std::uint64_t refused_senders;
  const PostStatus& post;
};

HttpAnswer PageAnswer(const std::string& target, const PageFacts& facts);

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_PAGE_PAGE_ROUTES_H_
