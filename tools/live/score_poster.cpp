#include "tools/live/score_poster.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

#include "tools/live/scoreboard_document.h"

namespace kevo::live {

namespace asio = boost::asio;
using udp = asio::ip::udp;

namespace {

constexpr double kFirstRetrySeconds = 15;

}  // namespace

std::string UtcNow() {
  std::time_t now = std::time(nullptr);
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

ScorePoster::ScorePoster(asio::io_context& io, PostSettings settings, std::string version,
                         LogLine log)
    : io_(io),
      settings_(std::move(settings)),
      version_(std::move(version)),
      log_(std::move(log)),
      udp_(io),
      timer_(io) {}

bool ScorePoster::Start(std::string& error) {
  if (!settings_.url.empty()) {
    url_ = ParseHttpUrl(settings_.url);
    if (!url_) {
      error = "--post needs http://HOST[:PORT][/PATH], not '" + settings_.url + "'";
      return false;
    }
    status_.target = settings_.url;
  }
  if (settings_.udp) {
    boost::system::error_code code;
    udp::resolver resolver(io_);
    auto found =
        resolver.resolve(udp::v4(), settings_.udp->host, std::to_string(settings_.udp->port), code);
    if (code || found.empty()) {
      error = "cannot find the dashboard " + settings_.udp->host + ": " + code.message();
      return false;
    }
    dashboard_ = found.begin()->endpoint();
    udp_.open(udp::v4(), code);
    if (code) {
      error = "cannot open a UDP socket for the dashboard: " + code.message();
      return false;
    }
    status_.target += (status_.target.empty() ? "udp://" : ", udp://") + settings_.udp->host + ":" +
                      std::to_string(settings_.udp->port);
  }
  status_.enabled = url_.has_value() || dashboard_.has_value();
  return true;
}

void ScorePoster::Update(std::shared_ptr<const LiveSnapshot> snapshot) {
  latest_ = std::move(snapshot);
  if (status_.enabled && !scheduled_ && !in_flight_ && latest_->has_contact &&
      status_.last_time.empty()) {
    ScheduleIn(settings_.first_delay_seconds);
  }
}

void ScorePoster::ScheduleIn(double seconds) {
  scheduled_ = true;
  timer_.expires_after(std::chrono::duration_cast<asio::steady_timer::duration>(
      std::chrono::duration<double>(seconds)));
  timer_.async_wait([this](boost::system::error_code error) {
    scheduled_ = false;
    if (!error) Attempt();
  });
}

void ScorePoster::Attempt() {
  std::int32_t score = latest_->score;
  if (posted_score_ == score) {
    ScheduleIn(settings_.every_seconds);  // nothing new to tell; look again later
    return;
  }
  std::string document =
      BuildScoreDocument(settings_.station, score, latest_->figures, UtcNow(), version_);
  status_.last_time = UtcNow();
  bool dashboard_ok = true;
  if (dashboard_) {
    boost::system::error_code code;
    udp_.send_to(asio::buffer(document), *dashboard_, 0, code);
    dashboard_ok = !code;
    if (!url_) return Done(dashboard_ok, code ? "dashboard: " + code.message() : "sent", score);
  }
  in_flight_ = true;
  PostDocument(io_, *url_, std::move(document),
               [this, score, dashboard_ok](bool ok, std::string answer) {
                 in_flight_ = false;
                 Done(ok, dashboard_ok ? answer : answer + "; dashboard not reached", score);
               });
}

void ScorePoster::Done(bool ok, const std::string& answer, std::int32_t score) {
  status_.last_answer = answer;
  if (ok) {
    ++status_.sent;
    status_.last_score = score;
    posted_score_ = score;
    failures_in_row_ = 0;
    ScheduleIn(settings_.every_seconds);
    return;
  }
  ++status_.failed;
  if (log_) log_("score post failed: " + answer);
  double wait = kFirstRetrySeconds;
  for (int i = 0; i < failures_in_row_ && wait < settings_.every_seconds; ++i) wait *= 2;
  ++failures_in_row_;
  ScheduleIn(std::min<double>(wait, settings_.every_seconds));
}

}  // namespace kevo::live
