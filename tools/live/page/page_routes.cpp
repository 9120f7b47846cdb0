#include "tools/live/page/page_routes.h"

#include "tools/live/page/live_page.h"
#include "tools/live/page/status_json.h"

namespace kevo::live {

HttpAnswer PageAnswer(const std::string& target, const PageFacts& facts) {
  HttpAnswer answer;
  if (target == "/") {
    answer.content_type = "text/html; charset=utf-8";
    answer.body = LivePageHtml();
    answer.policy = LivePagePolicy();
  } else if (target == "/live.js") {
    answer.content_type = "text/javascript; charset=utf-8";
    answer.body = LivePageScript();
  } else if (target == "/summary") {
    answer.content_type = "text/plain";
    answer.body = facts.snapshot.summary;
  } else if (target == "/status.json") {
    answer.content_type = "application/json";
    LiveSnapshot now = facts.snapshot;
    now.counters.refused_senders = facts.refused_senders;
    answer.body = StatusJson(now, facts.post);
  } else if (target == "/charts") {
    answer.content_type = "text/html; charset=utf-8";
    answer.body = facts.snapshot.charts ? *facts.snapshot.charts : std::string();
  } else {
    answer.status = 404;
    answer.body = "not found\n";
  }
  return answer;
}

}  // namespace kevo::live
