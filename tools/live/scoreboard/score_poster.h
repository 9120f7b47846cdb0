// Posts the score to a scoreboard (HTTP) and/or a local dashboard (UDP): a few seconds after
// the first contact, then every --post-every seconds while the score changes. A post that
// fails is tried again after the same interval: scoreboards take at most one post a minute,
// failed ones included. Without --call the station's call is the one mycall the datagrams
// agree on, and nothing is posted until there is one. Runs on the server's thread from
// snapshots, so a slow or dead scoreboard never holds up the intake.
#ifndef KEVO_TOOLS_LIVE_SCOREBOARD_SCORE_POSTER_H_
#define KEVO_TOOLS_LIVE_SCOREBOARD_SCORE_POSTER_H_

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <memory>
#include <optional>
#include <string>

#include "tools/live/keeping/live_engine.h"
#include "tools/live/keeping/live_snapshot.h"
#include "tools/live/live_options.h"
#include "tools/live/scoreboard/http_post.h"
#include "tools/live/scoreboard/post_status.h"
#include "tools/live/utc_now.h"

namespace kevo::live {

class ScorePoster {
 public:
  // False with `error` when the URL or the dashboard's address cannot be used.
  ScorePoster(boost::asio::io_context& io, PostSettings settings, std::string version, LogLine log);
  bool Start(std::string& error);

  // The latest state; the first one with a contact starts the schedule.
  void Update(std::shared_ptr<const LiveSnapshot> snapshot);

  const PostStatus& status() const { return status_; }

 private:
  void ScheduleIn(double seconds);
  void Attempt();
  void Done(bool ok, const std::string& answer, std::int32_t score);
  // --call, else the call the snapshot names; empty while not known.
  std::string CallNow() const;

  boost::asio::io_context& io_;
  PostSettings settings_;
  std::string version_;
  LogLine log_;
  std::optional<HttpUrl> url_;
  boost::asio::ip::udp::socket udp_;
  std::optional<boost::asio::ip::udp::endpoint> dashboard_;
  boost::asio::steady_timer timer_;
  std::shared_ptr<const LiveSnapshot> latest_;
  PostStatus status_;
  bool scheduled_ = false;
  bool in_flight_ = false;
  std::optional<std::int32_t> posted_score_;  // of the last post that arrived
  bool started_ = false;
};

}  // namespace kevo::live

#endif  // KEVO_TOOLS_LIVE_SCOREBOARD_SCORE_POSTER_H_
