#include "tools/live/scoreboard/score_poster.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "tools/live/scoreboard/scoreboard_document.h"

namespace kevo::live {

namespace asio = boost::asio;
using udp = asio::ip::udp;

namespace {

constexpr const char* kWaitingForCall =
    "waiting for the station's call: give --call, or let the loggers send one mycall";

}  // namespace

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

std::string ScorePoster::CallNow() const {
  if (!settings_.station.call.empty()) return settings_.station.call;
  return latest_ ? latest_->station : std::string();
}

void ScorePoster::Update(std::shared_ptr<const LiveSnapshot> snapshot) {
  latest_ = std::move(snapshot);
  status_.call = CallNow();
  if (!status_.enabled || started_ || !latest_->has_contact) return;
  if (status_.call.empty()) {
    status_.last_answer = kWaitingForCall;
    return;
  }
  started_ = true;
  ScheduleIn(settings_.first_delay_seconds);
}

void ScorePoster::ScheduleIn(double seconds) {
  scheduled_ = true;
  status_.next_time = UtcNow(static_cast<long long>(std::ceil(seconds)));
  timer_.expires_after(std::chrono::duration_cast<asio::steady_timer::duration>(
      std::chrono::duration<double>(seconds)));
  timer_.async_wait([this](boost::system::error_code error) {
    scheduled_ = false;
    status_.next_time.clear();
    if (!error) Attempt();
  });
}

void ScorePoster::Attempt() {
  std::int32_t score = latest_->score;
  StationFacts station = settings_.station;
  station.call = CallNow();
  if (posted_score_ == score || station.call.empty()) {
    // Nothing new to tell, or the loggers now disagree on the call: look again later.
    if (station.call.empty()) status_.last_answer = kWaitingForCall;
    ScheduleIn(settings_.every_seconds);
    return;
  }
  std::string document = BuildScoreDocument(station, score, latest_->figures, UtcNow(), version_);
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
    ScheduleIn(settings_.every_seconds);
    return;
  }
  ++status_.failed;
  if (log_) log_("score post failed: " + answer);
  ScheduleIn(settings_.every_seconds);
}

}  // namespace kevo::live
